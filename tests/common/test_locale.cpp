#include "support/tempfolders.h"
#include "support/testmain.h"

#include "common/fields.h"
#include "common/numformat.h"
#include "common/numtext.h"
#include "common/refdata.h"

#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <clocale>

// The number forms must read and write "." whatever the user's locale: a
// German locale writes "," as its decimal point.
class TestGermanLocale : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_localeDir;
    QByteArray m_oldLocpath;
    std::string m_oldLocale;
    bool m_active = false;

    bool trySet()
    {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"})
            if (std::setlocale(LC_ALL, name))
                return true;
        return false;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_oldLocale = std::setlocale(LC_ALL, nullptr);
        m_oldLocpath = qgetenv("LOCPATH");
        if (!trySet()) {
            // Not installed: compile it into a private folder.
            const QString out = m_localeDir.filePath(QStringLiteral("de_DE.UTF-8"));
            QProcess::execute(QStringLiteral("localedef"),
                              {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"), QStringLiteral("UTF-8"), out});
            qputenv("LOCPATH", m_localeDir.path().toLocal8Bit());
            if (!trySet())
                QSKIP("no German locale can be set on this system");
        }
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.1f", 1.5);
        QCOMPARE(QByteArray(buf), QByteArray("1,5")); // the C library now writes ","
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        m_active = true;
    }

    void cleanupTestCase()
    {
        std::setlocale(LC_ALL, m_oldLocale.c_str());
        QLocale::setDefault(QLocale::c());
        if (m_oldLocpath.isNull())
            qunsetenv("LOCPATH");
        else
            qputenv("LOCPATH", m_oldLocpath);
    }

    void numberForms()
    {
        QCOMPARE(numval("12.5"), 12.5);
        QCOMPARE(numval("-3.25E2V"), -325.0);
        QCOMPARE(numval("1,5"), 1.0);
        QCOMPARE(numstr(0.05), QStringLiteral(" .05"));
        QCOMPARE(numstr(-1234.5), QStringLiteral("-1234.5"));
        QCOMPARE(numstr(1.72e-8), QStringLiteral(" 1.72E-08"));
        QCOMPARE(fmt(1234567.891, "###,###,##0.0"), QStringLiteral("1,234,567.9"));
        QCOMPARE(fmt(2.675, "0.000"), QStringLiteral("2.675"));
        QCOMPARE(hexstr(-1), QStringLiteral("FFFFFFFF"));
    }

    void libraryForms()
    {
        QCOMPARE(engformat(1500, "S"), QStringLiteral("1.500 kS"));
        QCOMPARE(engformat(3.3e-8, "F"), QStringLiteral("0.033 uF"));
        QCOMPARE(zerofill(3.5, 4), QStringLiteral("03.5"));
        QCOMPARE(hexpad(26.7, 2), QStringLiteral("1B"));
        QCOMPARE(quesenable(0, 1023), QStringLiteral("stat:ques:enab  26108"));
        QCOMPARE(numval(metalprop("r", 10, 2, 1, "", "copper", 0, "m")), 8.6e-4);
        QCOMPARE(numval(metalprop("d", 0, 0, 0, "0000", "", 0, "e")), 0.46);
    }
};

VOLTARIS_TEST(TestGermanLocale);
#include "test_locale.moc"

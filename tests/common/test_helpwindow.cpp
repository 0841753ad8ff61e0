#include "support/tempfolders.h"
#include "support/testmain.h"

#include "common/helpwindow.h"
#include "common/rtfview.h"

#include <QFile>
#include <QTest>

#include <sys/stat.h>

namespace {
class SampleHelp : public HelpWindow {
public:
    SampleHelp()
        : HelpWindow(QStringLiteral("SampleHelp"), QStringLiteral("Sample Help"), QStringLiteral("helpbox"),
                     QStringLiteral("samplehelp.rtf"), QSize(6000, 4500))
    {
    }
};
} // namespace

class TestHelpWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { FormSlots::get<SampleHelp>().unload(); }

    void pageReadOnceAndHiddenByAClick()
    {
        TempFolders tf;
        writeFile(tf.appFile("samplehelp.rtf"), "{\\rtf1 First \\b line\\b0\\par second}");
        auto& w = FormSlots::get<SampleHelp>();
        w.show();
        QCOMPARE(w.form()->objectName(), QStringLiteral("SampleHelp"));
        QCOMPARE(w.caption(), QStringLiteral("Sample Help"));
        auto* box = w.form()->findChild<RtfView*>(QStringLiteral("helpbox"));
        QVERIFY(box);
        QCOMPARE(box, w.textBox());
        QCOMPARE(box->toPlainText(), QStringLiteral("First line\nsecond"));
        QVERIFY(box->isReadOnly());
        QCOMPARE(box->geometry(), QRect(4, 4, 392, 292));

        // Hidden by a click, still loaded: showing it again does not re-read.
        writeFile(tf.appFile("samplehelp.rtf"), "{\\rtf1 changed}");
        QTest::mouseClick(box->viewport(), Qt::LeftButton);
        QVERIFY(!w.visible());
        QVERIFY(w.isLoaded());
        w.show();
        QCOMPARE(box->toPlainText(), QStringLiteral("First line\nsecond"));
        // A fresh load reads the page anew.
        w.unload();
        w.show();
        QCOMPARE(w.textBox()->toPlainText(), QStringLiteral("changed"));
    }

    void badPages_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("folder") << "folder";
        QTest::newRow("fifo") << "fifo";
    }
    void badPages()
    {
        QFETCH(QString, kind);
        TempFolders tf;
        const QString page = tf.appFile("samplehelp.rtf");
        if (kind == "folder")
            QVERIFY(QDir().mkpath(page));
        if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(page).constData(), 0600), 0);
        auto& w = FormSlots::get<SampleHelp>();
        w.show();
        QCOMPARE(w.textBox()->toPlainText(), notInstalledText());
    }

    void emptyAndBinaryPagesShowWithoutHarm()
    {
        TempFolders tf;
        auto& w = FormSlots::get<SampleHelp>();
        writeFile(tf.appFile("samplehelp.rtf"), QByteArray());
        w.show();
        QCOMPARE(w.textBox()->toPlainText(), QString());
        w.unload();
        QByteArray junk;
        for (int i = 0; i < 70000; ++i)
            junk += char((i * 131 + 7) % 256);
        writeFile(tf.appFile("samplehelp.rtf"), "{\\rtf1{{{\\'" + junk);
        w.show();
        QVERIFY(w.visible());
    }
};

VOLTARIS_TEST(TestHelpWindow);
#include "test_helpwindow.moc"

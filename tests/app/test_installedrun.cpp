// The program as installed: run from <prefix>/bin of a read-only install
// with no VOLTARIS_ variables, by tests/install/installedrun.cmake, which
// copies this test program beside the installed one. Run from the build
// tree it has nothing to check and skips.

#include "support/testmain.h"

#include "app/a_main.h"
#include "app/z_about.h"
#include "common/coredata.h"
#include "common/paths.h"
#include "common/rtfview.h"
#include "common/toolwindow.h"
#include "psu/psutil_inductorcore.h"
#include "common/numtext.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>

class InstalledRun : public QObject {
    Q_OBJECT
    QByteArray m_savedApp;

private Q_SLOTS:
    static bool installed() { return qEnvironmentVariable("VOLTARIS_INSTALLED_RUN") == QLatin1String("1"); }

    void initTestCase()
    {
        // The test runner sets a program folder for every test; the
        // installed program has none.
        m_savedApp = qgetenv("VOLTARIS_APPDIR");
        if (installed())
            qunsetenv("VOLTARIS_APPDIR");
    }
    // Skipped one by one: a skipped initTestCase would skip the test
    // classes that run after this one too.
    void init()
    {
        if (!installed())
            QSKIP("run by the installed-run script only");
    }
    void cleanupTestCase()
    {
        if (!m_savedApp.isEmpty())
            qputenv("VOLTARIS_APPDIR", m_savedApp);
    }

    void perUserFolderHoldsTheData()
    {
        const QString exe = QCoreApplication::applicationDirPath();
        QVERIFY(QFileInfo::exists(QDir(exe).filePath("../share/voltaris/voltaris.cdt")));
        QVERIFY(!QFileInfo::exists(QDir(exe).filePath("voltaris.cdt")));
        const QString user = QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
        QCOMPARE(apppath(), user);
        for (const char* f : {"voltaris.cdt", "RevisionHistory.rtf", "effsweeper.rtf", "7441.dat"})
            QVERIFY2(QFileInfo(QDir(user).filePath(f)).isFile(), f);
    }

    void inductorListsTheShippedCores()
    {
        mainWindow().popup(QStringLiteral("psutil_inductorcore"));
        ToolWindow* w = &FormSlots::get<PSUtil_inductorcore>();
        QVERIFY(w->isLoaded());
        auto* selector = w->form()->findChild<QComboBox*>(QStringLiteral("coreselector"));
        QVERIFY(selector);
        // The list text begins with its number of fields: "Select" and the cores.
        QCOMPARE(selector->count(), int(numval(coredata(0))) - 1);
        QVERIFY(selector->count() > 10);
        QVERIFY(selector->findText(QStringLiteral("T80-26 Micrometals Mix-26")) > 0);
        w->unload();
    }

    void aboutShowsItsPage()
    {
        mainWindow().popup(QStringLiteral("z_about"));
        ToolWindow* w = &FormSlots::get<Z_about>();
        QVERIFY(w->isLoaded());
        auto* page = w->form()->findChild<RtfView*>(QStringLiteral("aboutbox"));
        QVERIFY(page);
        QVERIFY(page->toPlainText() != notInstalledText());
        QVERIFY(page->toPlainText().size() > 100);
        w->unload();
    }
};

VOLTARIS_TEST(InstalledRun);
#include "test_installedrun.moc"

#include "testmain.h"
#include "tempfolders.h"

#include "app/a_main.h"
#include "common/toolwindow.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QElapsedTimer>
#include <QPointer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

namespace {
std::vector<std::pair<const char*, TestFactory>>& registry()
{
    static std::vector<std::pair<const char*, TestFactory>> r;
    return r;
}
} // namespace

void registerTestClass(const char* name, TestFactory factory)
{
    registry().emplace_back(name, std::move(factory));
}

// Runs every registered class; "-class Name" picks one, the remaining
// arguments go to QTest (test function names, -v2, ...).
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("voltaris-test"));

    std::vector<char*> args;
    const char* only = nullptr;
    for (int i = 0; i < argc; ++i) {
        if (i + 1 < argc && qstrcmp(argv[i], "-class") == 0) {
            only = argv[++i];
            continue;
        }
        args.push_back(argv[i]);
    }

    TempFolders folders; // program and work folders for the whole run

    // A modal window that nobody answers would hang the run: close it after
    // a while and say so, so the test that raised it fails instead.
    QTimer watchdog;
    watchdog.setObjectName(QStringLiteral("testRunnerWatchdog")); // tests that count wakes know it by name
    QPointer<QWidget> seen;
    QElapsedTimer seenFor;
    watchdog.setInterval(500);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        QWidget* m = QApplication::activeModalWidget();
        if (m != seen) {
            seen = m;
            seenFor.start();
            return;
        }
        if (m && seenFor.elapsed() > 30000) {
            std::fprintf(stderr, "Unanswered modal window \"%s\" closed by the test runner\n",
                         qPrintable(m->windowTitle()));
            QTest::qFail("unanswered modal window", __FILE__, __LINE__);
            m->close();
            seen = nullptr;
        }
    });
    watchdog.start();
    unsetenv("VOLTARIS_PORTS");
    mainWindow();

    // A long run's log is often seen only by its head and tail: each class
    // also logs to a file, and the failures found there are repeated last.
    QTemporaryDir logs;
    // Not when the caller chose an output or a format of his own.
    const QByteArrayList outputOptions{"-o", "-txt", "-csv", "-xml", "-lightxml", "-junitxml", "-teamcity", "-tap"};
    const bool ownOutput =
        std::any_of(args.begin(), args.end(), [&](const char* a) { return outputOptions.contains(QByteArray(a)); });
    QByteArray toStdout("-,txt");
    QByteArray toFile = logs.filePath(QStringLiteral("class.txt")).toLocal8Bit() + ",txt";
    if (!ownOutput && logs.isValid()) {
        char* extra[] = {const_cast<char*>("-o"), toStdout.data(), const_cast<char*>("-o"), toFile.data()};
        args.insert(args.begin() + 1, std::begin(extra), std::end(extra));
    }

    int failed = 0;
    int ran = 0;
    QByteArray failures;
    for (auto& [name, factory] : registry()) {
        if (only && qstrcmp(only, name) != 0)
            continue;
        std::unique_ptr<QObject> test(factory());
        const int rc = QTest::qExec(test.get(), int(args.size()), args.data());
        ++ran;
        if (rc != 0) {
            std::fprintf(stderr, "FAILED: %s (%d)\n", name, rc);
            ++failed;
            QFile log(logs.filePath(QStringLiteral("class.txt")));
            if (log.open(QIODevice::ReadOnly)) {
                bool inFailure = false;
                while (!log.atEnd()) {
                    const QByteArray line = log.readLine();
                    if (line.startsWith("FAIL!"))
                        inFailure = true;
                    else if (!line.startsWith(' '))
                        inFailure = false;
                    if (inFailure)
                        failures += line;
                }
            }
        }
    }
    destroyMainWindow();
    if (!failures.isEmpty())
        std::printf("Failures of this run:\n%s", failures.constData());
    std::printf("%d passed, %d failed\n", ran - failed, failed);
    return failed == 0 ? 0 : 1;
}

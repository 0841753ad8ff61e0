#include "testmain.h"
#include "tempfolders.h"

#include "app/a_main.h"
#include "common/toolwindow.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTest>

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
    unsetenv("VOLTARIS_PORTS");
    mainWindow();

    int failed = 0;
    int ran = 0;
    for (auto& [name, factory] : registry()) {
        if (only && qstrcmp(only, name) != 0)
            continue;
        std::unique_ptr<QObject> test(factory());
        const int rc = QTest::qExec(test.get(), int(args.size()), args.data());
        ++ran;
        if (rc != 0) {
            std::fprintf(stderr, "FAILED: %s (%d)\n", name, rc);
            ++failed;
        }
    }
    destroyMainWindow();
    std::printf("%d passed, %d failed\n", ran - failed, failed);
    return failed == 0 ? 0 : 1;
}

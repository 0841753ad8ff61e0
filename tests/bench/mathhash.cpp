// The SHA-1 tester's longest test message: one million "a" characters,
// hashed through the window's button and through the library call.

#include "app/a_main.h"
#include "common/sha1.h"
#include "common/toolwindow.h"
#include "math/math_sha1tester.h"
#include "support/tempfolders.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    TempFolders folders;
    mainWindow().show();

    const QString million(1000000, u'a');
    QElapsedTimer t;
    t.start();
    const QString digest = sha1(QString(), million);
    std::printf("sha1 of 1,000,000 characters:           %8.1f ms  (%s)\n", t.nsecsElapsed() / 1e6, qPrintable(digest));

    popup("Math_sha1tester");
    auto& w = FormSlots::get<Math_sha1tester>();
    auto* list = w.form()->findChild<QComboBox*>("Combo1");
    list->setCurrentIndex(11);
    emit list->activated(11);
    t.restart();
    w.form()->findChild<QPushButton*>("Command1_1")->click();
    std::printf("window hash of the million-character entry: %8.1f ms  (hash time %s s)\n", t.nsecsElapsed() / 1e6,
                qPrintable(w.form()->findChild<QLineEdit*>("hashtime")->text()));
    w.unload();
    destroyMainWindow();
    return 0;
}

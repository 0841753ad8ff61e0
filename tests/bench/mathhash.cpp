// The SHA-1 tester's longest test message: one million "a" characters,
// hashed through the window's button and through the library call. Both
// must give the message's published digest.
//
//   bench_mathhash [--smoke]   (one size: the run is short)

#include "app/a_main.h"
#include "bench/benchkit.h"
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

    const QString published = QStringLiteral("34AA973C D4C4DAA4 F61EEB2B DBAD2731 6534016F");
    const QString million(1000000, u'a');
    QElapsedTimer t;
    t.start();
    const QString digest = sha1(QString(), million);
    std::printf("sha1 of 1,000,000 characters:           %8.1f ms  (%s)\n", t.nsecsElapsed() / 1e6, qPrintable(digest));
    bench::verdict().check(digest == published, "sha1: %s", qPrintable(digest));

    popup("Math_sha1tester");
    auto& w = FormSlots::get<Math_sha1tester>();
    auto* list = w.form()->findChild<QComboBox*>("Combo1");
    list->setCurrentIndex(11);
    emit list->activated(11);
    auto* hashtime = w.form()->findChild<QLineEdit*>("hashtime");
    t.restart();
    w.form()->findChild<QPushButton*>("Command1_1")->click();
    bench::waitUntil([&] { return hashtime->text() != u"..."; }, 60000);
    const QString shown = w.form()->findChild<QLineEdit*>("hashdata")->text();
    std::printf("window hash of the million-character entry: %8.1f ms  (hash time %s s)\n", t.nsecsElapsed() / 1e6,
                qPrintable(hashtime->text()));
    bench::verdict().check(shown == published && w.form()->findChild<QLineEdit*>("exphash")->text() == published,
                           "sha1 window: %s shown, %s expected", qPrintable(shown),
                           qPrintable(w.form()->findChild<QLineEdit*>("exphash")->text()));
    w.unload();
    destroyMainWindow();
    return bench::verdict().exitCode();
}

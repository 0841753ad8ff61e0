#include "support/alertsink.h"
#include "support/filechoice.h"
#include "support/loopgaps.h"
#include "support/newersaves.h"
#include "support/tempfolders.h"
#include "support/testmain.h"
#include "closeorquitrows.h"
#include "support/typing.h"

#include "common/clock.h"
#include "common/numtext.h"
#include "common/pacing.h"
#include "common/paths.h"
#include "math/math_primeslist.h"
#include "math/primelisting.h"
#include "stageturns.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

namespace {
Math_primeslist& window()
{
    return FormSlots::get<Math_primeslist>();
}
template <class W>
W* ctl(const char* name)
{
    auto* w = window().form()->findChild<W*>(name);
    if (!w)
        qFatal("no control %s", name);
    return w;
}
QLineEdit* box(const char* name)
{
    return ctl<QLineEdit>(name);
}
QStringList shown()
{
    const QString t = ctl<QPlainTextEdit>("odata")->toPlainText();
    return t.isEmpty() ? QStringList() : t.split(u'\n');
}
void compute(const QString& n, const QString& d = QStringLiteral("6542"))
{
    paste(box("ulimit"), n);
    paste(box("dlimit"), d);
    ctl<QPushButton>("Command1")->click();
}
QList<int32_t> firstPrimes(int n)
{
    QList<int32_t> p{0};
    for (int32_t c = 2; p.size() <= n; ++c) {
        bool prime = true;
        for (int32_t d = 2; d * d <= c; ++d)
            if (c % d == 0) {
                prime = false;
                break;
            }
        if (prime)
            p << c;
    }
    p << 0;
    return p;
}
} // namespace

class TestPrimesList : public QObject {
    Q_OBJECT
    std::unique_ptr<TempFolders> folders;

private Q_SLOTS:
    void init()
    {
        folders = std::make_unique<TempFolders>();
        popup("Math_primeslist");
        QVERIFY(window().visible());
    }
    void cleanup()
    {
        window().unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        folders.reset();
    }

    void lineTexts()
    {
        using namespace primetext;
        QCOMPARE(listLine(1, 2, 4, 7), QString("   1      2"));
        QCOMPARE(listLine(6542, 65521, 4, 7), QString("6542  65521"));
        QCOMPARE(primeWidth(65521), 7);
        QCOMPARE(primeWidth(2), 3);
        QCOMPARE(tableLine(1, 2), QString("    1      2  0002  0000000000000010"));
        QCOMPARE(tableLine(6542, 65521), QString(" 6542  65521  FFF1  1111111111110001"));
        QCOMPARE(tableHeader().join('|'), "16 Bit Primes|Index    Dec   Hex  Binary|" + QString(36, '-'));
        for (const QString& l : tableHeader().mid(2))
            QCOMPARE(l.size(), tableLine(6542, 65521).size());

        const QList<int32_t> p = firstPrimes(6543);
        QCOMPARE(tableCount(p, 3), 3);
        QCOMPARE(tableCount(p, 6542), 6542);
        QCOMPARE(tableCount(p, 6543), 6542);
        QCOMPARE(tableCount(p, 0), 0);
        QCOMPARE(fileBytes(p, 3), QByteArray(" 1 2\r\n 2 3\r\n 3 5\r\n"));
        QCOMPARE(fileBytes(p, 0), QByteArray());

        // first listed: n, d -> index
        const int cases[][3] = {{10, 3, 8}, {10, 10, 1}, {10, 20, 1}, {10, 0, 11}, {10, -5, 11}, {0, 5, 1}};
        for (const auto& c : cases)
            QCOMPARE(firstListed(c[0], c[1]), c[2]);
        QCOMPARE(firstListed(10, 2.6), 8); // 8.4 rounds to 8
    }

    void listMode_data()
    {
        QTest::addColumn<QString>("n");
        QTest::addColumn<QString>("d");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::newRow("6542 of 6542") << "6542" << "6542" << 6542 << "   1      2" << "6542  65521";
        QTest::newRow("1") << "1" << "6542" << 1 << "1  2" << "1  2";
        QTest::newRow("4") << "4" << "6542" << 4 << "1  2" << "4  7";
        QTest::newRow("5") << "5" << "6542" << 5 << "1   2" << "5  11";
        QTest::newRow("last 3 of 100") << "100" << "3" << 3 << " 98  521" << "100  541";
        QTest::newRow("0") << "0" << "6542" << 0 << "" << "";
        QTest::newRow("empty") << "" << "6542" << 0 << "" << "";
        QTest::newRow("pasted junk") << "12abc" << "2x" << 2 << "11  31" << "12  37";
        QTest::newRow("negative") << "-5" << "6542" << 0 << "" << "";
    }
    void listMode()
    {
        QFETCH(QString, n);
        QFETCH(QString, d);
        QFETCH(int, count);
        compute(n, d);
        const QStringList lines = shown();
        QCOMPARE(lines.size(), count);
        if (count > 0) {
            QTEST(lines.first(), "first");
            QTEST(lines.last(), "last");
        }
        const QString status = box("listcount")->text();
        QVERIFY2(QRegularExpression("^The first -?\\d+ Primes computed: \\d+\\.\\d{3} S$").match(status).hasMatch(),
                 qPrintable(status));
        if (count == 0)
            QVERIFY(status.startsWith(QString("The first 0 Primes computed: ")));
        QCOMPARE(window().primeArray().size(), qMax(0, int(numval(n))) + 2);
        QCOMPARE(window().primeArray().last(), 0);
    }

    void shownCountIsCutBeforeTheSearch()
    {
        compute("12000", "20000");
        QCOMPARE(box("dlimit")->text(), QString("10000"));
        const QStringList lines = shown();
        QCOMPARE(lines.size(), 10000);
        QVERIFY(lines.first().startsWith(" 2001 "));
        QCOMPARE(lines.last(), QString("12000  128189"));
    }

    void tableMode_data()
    {
        QTest::addColumn<QString>("n");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::newRow("10000") << "10000" << 6542 << "    1      2  0002  0000000000000010"
                               << " 6542  65521  FFF1  1111111111110001";
        QTest::newRow("3") << "3" << 3 << "    1      2  0002  0000000000000010"
                           << "    3      5  0005  0000000000000101";
    }
    void tableMode()
    {
        QFETCH(QString, n);
        QFETCH(int, count);
        ctl<QCheckBox>("list16bit")->setChecked(true);
        ctl<QCheckBox>("wrfile")->setChecked(true); // table mode writes no file
        compute(n, "5");
        const QStringList lines = shown();
        QCOMPARE(lines.size(), count + 3);
        QCOMPARE(lines.mid(0, 3), primetext::tableHeader());
        QTEST(lines[3], "first");
        QTEST(lines.last(), "last");
        QVERIFY(!QFile::exists(box("opfile")->text()));
    }

    void primeFileHoldsAllPrimes()
    {
        QCOMPARE(box("opfile")->text(), joinpath(worktemp(), "primes.txt"));
        ctl<QCheckBox>("wrfile")->setChecked(true);
        compute("6542", "10");
        QCOMPARE(shown().size(), 10);
        QVERIFY(box("listcount")->text().startsWith("The first 6542 Primes computed: "));
        const QByteArray bytes = readFile(box("opfile")->text());
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.size(), 6543);
        QCOMPARE(lines.first(), QByteArray(" 1 2\r"));
        QCOMPARE(lines[6541], QByteArray(" 6542 65521\r"));
        QCOMPARE(lines.last(), QByteArray());
        QCOMPARE(bytes, primetext::fileBytes(firstPrimes(6542), 6542));
    }

    void countBoxesRewriteAsNumbers()
    {
        QLineEdit* u = box("ulimit");
        retype(u, "007x-.");
        QCOMPARE(u->text(), QString("007")); // only digits pass the keys
        pressEnter(u);
        QCOMPARE(u->text(), QString("7"));
        QLineEdit* d = box("dlimit");
        giveFocus(d);
        paste(d, "0042abc");
        leaveBox(d);
        QCOMPARE(d->text(), QString("42"));
        giveFocus(d);
        paste(d, "");
        leaveBox(d);
        QCOMPARE(d->text(), QString("0"));
    }

    void pickedFolderGetsPrimesTxt()
    {
        const QString folder = QDir::toNativeSeparators(folders->workFile("out"));
        QDir().mkpath(folder);
        FileChoiceAnswer pick(folder);
        QTest::mouseDClick(box("opfile"), Qt::LeftButton);
        QCOMPARE(pick.asked(), 1);
        QCOMPARE(pick.title(), QString("Select directory for writing primes"));
        QCOMPARE(box("opfile")->text(), folder + QDir::separator() + "Primes.txt");
        ctl<QCheckBox>("wrfile")->setChecked(true);
        compute("3");
        QCOMPARE(readFile(folder + "/Primes.txt"), QByteArray(" 1 2\r\n 2 3\r\n 3 5\r\n"));
    }

    // A file that cannot be written says so by name; the list stays.
    void unwritableFile()
    {
        const QString path = folders->workFile("Primes.txt");
        QDir().mkpath(path);
        paste(box("opfile"), path);
        ctl<QCheckBox>("wrfile")->setChecked(true);
        AlertSink alerts;
        compute("6542", "6542");
        QCOMPARE(alerts.titles.size(), 1);
        QVERIFY(alerts.texts.first().contains(path));
        QVERIFY(!alerts.texts.first().contains("memory"));
        QCOMPARE(shown().size(), 6542);
        QVERIFY(box("listcount")->text().startsWith("The first 6542 Primes computed: "));
        QVERIFY(QFileInfo(path).isDir());
    }

    // Another save of the file begun while the list is written wins: its
    // contents stand, one alert names the file, and the status tells of
    // neither a save nor one still going on.
    void newerSaveOfTheFile()
    {
        const QString path = folders->workFile("Primes.txt");
        paste(box("opfile"), path);
        ctl<QCheckBox>("wrfile")->setChecked(true);
        AlertSink alerts;
        {
            NewerSaves other(path, "newer\r\n", [] { return box("listcount")->text() == "Writing to file..."; });
            compute("6542", "6542");
            QVERIFY(other.saves() > 0);
        }
        QCOMPARE(alerts.titles.size(), 1);
        QVERIFY(alerts.texts.first().contains(path));
        QVERIFY(alerts.texts.first().contains("newer save"));
        QCOMPARE(readFile(path), QByteArray("newer\r\n"));
        QVERIFY2(box("listcount")->text().startsWith("The first 6542 Primes computed: "), qPrintable(box("listcount")->text()));
        QCOMPARE(shown().size(), 6542);
    }

    void countTooLarge_data()
    {
        QTest::addColumn<QString>("n");
        QTest::newRow("past 32 bits") << "105097566";
        QTest::newRow("huge") << "1e300";
    }
    void countTooLarge()
    {
        QFETCH(QString, n);
        compute("5");
        QCOMPARE(shown().size(), 5);
        AlertSink alerts;
        compute(n);
        QCOMPARE(alerts.titles, QStringList{"Math limit reached!"});
        QVERIFY(alerts.texts.first().contains("select a lower value!"));
        QCOMPARE(box("listcount")->text(), QString());
        QCOMPARE(shown(), QStringList());
    }

    // A list that cannot be allocated gives the limit alert and leaves
    // nothing half shown; a list that fits is found as before.
    void listThatCannotBeAllocated()
    {
        compute("5");
        QCOMPARE(shown().size(), 5);
        Math_primeslist::setListMemoryCap(4000);
        AlertSink alerts;
        compute("999");
        Math_primeslist::setListMemoryCap(-1);
        QCOMPARE(alerts.titles, QStringList{"Math limit reached!"});
        QCOMPARE(box("listcount")->text(), QString());
        QCOMPARE(shown(), QStringList());
        QVERIFY(window().primeArray().isEmpty());
        Math_primeslist::setListMemoryCap(4000);
        compute("998", "1");
        Math_primeslist::setListMemoryCap(-1);
        QCOMPARE(shown(), QStringList{"998  7901"});
    }

    // The search, the list and the prime file each serve the event loop
    // between their steps (counted with one-step slices, so that a stage
    // that never serves it shows however fast the machine runs), and in
    // short slices.
    void longSearchInSlices()
    {
        ctl<QCheckBox>("wrfile")->setChecked(true);
        {
            paste(box("ulimit"), "10000");
            paste(box("dlimit"), "10000");
            const QString listed = QStringLiteral("listed");
            StageTurns turns([&] {
                const QString status = box("listcount")->text();
                return status.startsWith(QLatin1String("The first")) ? listed : status;
            });
            ctl<QPushButton>("Command1")->click();
            // Every candidate tried (more than one per prime), every block
            // of lines shown (about 130 kB) and every block of the file.
            QVERIFY2(turns.count("Computing...") >= 10000, qPrintable(turns.report()));
            QVERIFY2(turns.count(listed) >= 5, qPrintable(turns.report()));
            QVERIFY2(turns.count("Writing to file...") >= 3, qPrintable(turns.report()));
            QCOMPARE(shown().last(), QString("10000  104729"));
        }
        paste(box("ulimit"), "400000");
        paste(box("dlimit"), "10000");
        const double longest = LoopGaps::bestOfTries([&](LoopGaps& gaps) {
            gaps.restart();
            ctl<QPushButton>("Command1")->click();
            gaps.stop();
        });
        QVERIFY2(longest < LoopGaps::sliceLimitMs(), qPrintable(QString::number(longest)));
        QCOMPARE(shown().size(), 10000);
        QCOMPARE(shown().last(), QString("400000  5800079"));
        const QByteArray bytes = readFile(box("opfile")->text());
        QCOMPARE(bytes.count('\n'), 400000);
        QVERIFY(bytes.endsWith(" 400000 5800079\r\n"));
    }

    // The duration comes from the monotonic tick, not the time of day.
    void searchAcrossMidnight()
    {
        ManualClock clock(QDateTime(QDate(2024, 3, 1), QTime(23, 59, 59)));
        ClockOverride use(clock);
        QTimer::singleShot(0, [&] { clock.advance(2500); });
        compute("200000", "1");
        QCOMPARE(box("listcount")->text(), QString("The first 200000 Primes computed: 2.500 S"));
        QCOMPARE(shown(), QStringList{"200000  2750159"});
    }

    // A press delivered during a search is ignored.
    void secondPressIgnored()
    {
        int presses = 0;
        int searches = 0;
        const auto watch = connect(box("listcount"), &QLineEdit::textChanged, this, [&](const QString& t) {
            searches += t == "Computing...";
        });
        QTimer again;
        again.setInterval(5);
        QObject::connect(&again, &QTimer::timeout, [&] {
            if (!window().computing() || presses > 3)
                return;
            ++presses;
            ctl<QPushButton>("Command1")->click();
        });
        again.start();
        compute("300000", "1");
        again.stop();
        disconnect(watch);
        QVERIFY(presses > 0);
        QCOMPARE(searches, 1);
        QCOMPARE(shown(), QStringList{"300000  4256233"});
        QCOMPARE(window().primeArray().size(), 300002);
    }

    // Closing or quitting during a long search ends it; nothing is written
    // and nothing of the gone form is touched.
    void endedDuringSearch_data() { addCloseOrQuitRows(); }
    void endedDuringSearch()
    {
        QFETCH(bool, quit);
        ctl<QCheckBox>("wrfile")->setChecked(true);
        const QString path = box("opfile")->text();
        QTimer::singleShot(200, [quit] {
            if (quit)
                setQuitting(true);
            window().unload();
        });
        QElapsedTimer t;
        t.start();
        compute("50000000", "10");
        const bool wasQuitting = quitting();
        setQuitting(false);
        QVERIFY(wasQuitting == quit);
        QVERIFY(t.elapsed() < 10000);
        QVERIFY(!window().computing());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!window().isLoaded());
        QVERIFY(!QFile::exists(path));

        popup("Math_primeslist");
        compute("4");
        QCOMPARE(shown().last(), QString("4  7"));
    }
};

VOLTARIS_TEST(TestPrimesList);
#include "test_primeslist.moc"

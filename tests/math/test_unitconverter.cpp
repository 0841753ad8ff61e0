#include "support/alertsink.h"
#include "support/loopgaps.h"
#include "support/quitting.h"
#include "support/oddfiles.h"
#include "support/tempfolders.h"
#include "support/testmain.h"
#include "closeorquitrows.h"
#include "support/typing.h"
#include "stageturns.h"

#include "common/alert.h"
#include "common/paths.h"
#include "common/textlines.h"
#include "math/math_unit.h"
#include "math/unittable.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTest>

namespace {
// A small table of our own: two distance units, a heading, a group-14 line,
// a group-3 line with extra blanks, a one-unit group, a zero factor and
// the temperature pair.
const QByteArray smallTable = "Units of the test\r\n"
                              "1 m 1\r\n"
                              "1 km 0.001\r\n"
                              "14 parsec 1\r\n"
                              "\r\n"
                              "   3    liter     1   \r\n"
                              "5 deg 360\r\n"
                              "2 nothing 0\r\n"
                              "2 m^2 1\r\n"
                              "6 degC 1\r\n"
                              "6 degF 1.8\r\n";

// A table of about `bytes` bytes: 90 units of group 1 among the first
// 9000 lines, headings after them, and a furlong last.
QByteArray largeTable(int bytes)
{
    QByteArray big;
    for (int i = 0; big.size() < bytes; ++i)
        big += i % 100 || i >= 9000 ? QByteArray("# padding line of a very long unit table, skipped as a heading\r\n")
                                    : "1 u" + QByteArray::number(i / 100) + " 1\r\n";
    return big + "1 furlong 0.004970969538\r\n";
}

QString unitsPath()
{
    return joinpath(apppath(), QStringLiteral("units.udb"));
}

// Position of a unit in its group, -1 when absent.
int positionOf(const FactorTable& t, int group, const QString& name)
{
    return int(t.names(group).indexOf(name));
}
} // namespace

class TestUnitConverter : public QObject {
    Q_OBJECT
    Math_unit& w() { return FormSlots::get<Math_unit>(); }
    QLineEdit* entry(int i) { return boxNamed(w(), QStringLiteral("unitentry_%1").arg(i)); }
    QComboBox* selector(int i) { return w().form()->findChild<QComboBox*>(QStringLiteral("unitselector_%1").arg(i)); }
    QString t(int i) { return entry(i)->text(); }

    void open(const QByteArray* table)
    {
        w().unload();
        QFile::remove(unitsPath());
        if (table)
            writeFile(unitsPath(), *table);
        popup("Math_unit");
        QVERIFY(w().visible());
    }

private Q_SLOTS:
    void cleanup()
    {
        w().unload();
        QFile::remove(unitsPath());
        QDir(unitsPath()).removeRecursively();
        QVERIFY(QFile::copy(joinpath(sourceDataDir(), QStringLiteral("units.udb")), unitsPath()));
    }

    void readsTheTable()
    {
        const FactorTable table = readunits(splitTextLines(smallTable));
        QCOMPARE(table.names(1), QStringList({"m", "km"}));
        QCOMPARE(table.names(3), QStringList({"liter"}));
        QCOMPARE(table.names(2), QStringList({"nothing", "m^2"}));
        QCOMPARE(table.count(4), 0);
        QCOMPARE(table.count(14), 0);
        QCOMPARE(table.factor(1, 1), std::optional<double>(0.001));
        QCOMPARE(table.factor(1, 2), std::nullopt);
        QCOMPARE(table.factor(0, 0), std::nullopt);
    }

    void groupNumbersRoundHalfToEven_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("group");
        QTest::newRow("1.5 is 2") << "1.5 a 1" << 2;
        QTest::newRow("2.5 is 2") << "2.5 a 1" << 2;
        QTest::newRow("13.4 is 13") << "13.4 a 1" << 13;
        QTest::newRow("13.5 is 14: skipped") << "13.5 a 1" << 0;
        QTest::newRow("0.4 is 0: skipped") << "0.4 a 1" << 0;
        QTest::newRow("negative") << "-1 a 1" << 0;
        QTest::newRow("huge") << "1e300 a 1" << 0;
        QTest::newRow("text") << "Distance units" << 0;
        QTest::newRow("binary") << QString::fromLatin1("\x01\xff\x80 7 a", 7) << 0;
    }
    void groupNumbersRoundHalfToEven()
    {
        QFETCH(QString, line);
        QFETCH(int, group);
        FactorTable table;
        QCOMPARE(table.addLine(line), group != 0);
        if (group)
            QCOMPARE(table.count(group), 1);
    }

    // A group holds at most 101 units; further lines of it are ignored
    // while other groups still fill.
    void groupCapacity()
    {
        QStringList lines;
        for (int i = 0; i < 105; ++i)
            lines << QStringLiteral("1 u%1 %2").arg(i).arg(i + 1);
        lines << QStringLiteral("2 a 1");
        const FactorTable table = readunits(lines);
        QCOMPARE(table.count(1), 101);
        QCOMPARE(table.names(1).last(), QString("u100"));
        QCOMPARE(table.count(2), 1);
    }

    void conversion_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<double>("fs");
        QTest::addColumn<double>("ft");
        QTest::addColumn<QString>("result"); // "" : target unchanged
        QTest::newRow("m to km") << "2500" << 1.0 << 0.001 << "2.5";
        QTest::newRow("below one") << "0.5" << 1.0 << 1.0 << "0.5";
        QTest::newRow("15 digits") << "0.1" << 1.0 << 3.0 << "0.3";
        QTest::newRow("small: exponent") << "0.01" << 1.0 << 0.001 << "1E-05";
        QTest::newRow("large: exponent") << "100000000000000000" << 0.001 << 1.0 << "1E+20";
        QTest::newRow("pasted negative") << "-4" << 1.0 << 0.5 << "-2";
        QTest::newRow("empty") << "" << 1.0 << 0.001 << "";
        QTest::newRow("only a point") << "." << 1.0 << 0.001 << "";
        QTest::newRow("letters") << "abc" << 1.0 << 0.001 << "";
        QTest::newRow("source factor 0") << "5" << 0.0 << 1.0 << "";
        QTest::newRow("target factor 0") << "5" << 1.0 << 0.0 << "";
        QTest::newRow("overflow") << "1e308" << 1e-10 << 1.0 << "";
        QTest::newRow("huge exponent") << "1e99999999" << 1.0 << 1.0 << "";
    }
    void conversion()
    {
        QFETCH(QString, source);
        QFETCH(double, fs);
        QFETCH(double, ft);
        QFETCH(QString, result);
        QCOMPARE(convertunit(source, fs, ft).value_or(QString()), result);
    }

    // Every group of the shipped table has units, and conversions between
    // exactly defined units come out exact.
    void shippedTable_data()
    {
        QTest::addColumn<int>("group");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("result");
        QTest::newRow("inch in cm") << 1 << "inch" << "cm" << "1" << "2.54";
        QTest::newRow("mile in feet") << 1 << "mile" << "foot" << "1" << "5280";
        QTest::newRow("yard in inches") << 1 << "yard" << "inch" << "1" << "36";
        QTest::newRow("acre in square feet") << 2 << "acre" << "sq_foot" << "1" << "43560";
        QTest::newRow("US gallon in cubic inches") << 3 << "US_gallon" << "cu_inch" << "1" << "231";
        QTest::newRow("litre in ml") << 3 << "liter" << "ml" << "1" << "1000";
        QTest::newRow("pound in ounces") << 4 << "lb" << "oz" << "1" << "16";
        QTest::newRow("pound in grains") << 4 << "lb" << "grain" << "1" << "7000";
        QTest::newRow("right angle") << 5 << "degree" << "gradian" << "90" << "100";
        QTest::newRow("atmosphere in torr") << 7 << "atm" << "torr" << "1" << "760";
        QTest::newRow("knot in km/h") << 8 << "knot" << "km/h" << "1" << "1.852";
        QTest::newRow("mph in km/h") << 8 << "mph" << "km/h" << "1" << "1.609344";
        QTest::newRow("kWh in J") << 10 << "kWh" << "J" << "1" << "3600000";
        QTest::newRow("kcal in J") << 10 << "kcal" << "J" << "1" << "4184";
        QTest::newRow("day in seconds") << 11 << "day" << "s" << "1" << "86400";
        QTest::newRow("KiB in bits") << 12 << "KiB" << "bit" << "1" << "8192";
        QTest::newRow("MiB in KiB") << 12 << "MiB" << "KiB" << "1" << "1024";
        QTest::newRow("mega in kilo") << 13 << "mega" << "kilo" << "1" << "1000";
        QTest::newRow("gibi in one") << 13 << "gibi" << "one" << "1" << "1073741824";
    }
    void shippedTable()
    {
        QFETCH(int, group);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, value);
        QFETCH(QString, result);
        const TextLines file = readTextLines(joinpath(sourceDataDir(), QStringLiteral("units.udb")), 1 << 20);
        QVERIFY(file.ok());
        const FactorTable table = readunits(file.lines);
        for (int g = 1; g <= 13; ++g)
            QVERIFY2(table.count(g) >= 2, qPrintable(QString::number(g)));
        const auto fs = table.factor(group, positionOf(table, group, from));
        const auto ft = table.factor(group, positionOf(table, group, to));
        QVERIFY(fs && ft);
        QCOMPARE(convertunit(value, *fs, *ft).value_or(QString()), result);
    }

    void windowConverts()
    {
        open(&smallTable);
        QCOMPARE(w().caption(), QString("Unit Converter"));
        for (int i : {0, 1}) {
            QCOMPARE(selector(i)->count(), 2);
            QCOMPARE(selector(i)->currentText(), QString("m"));
        }
        selector(1)->setCurrentIndex(1); // km on the right
        retype(entry(0), "2500");
        QCOMPARE(t(1), QString("2.5"));
        // The box under the changed selector is re-expressed from the other.
        selector(0)->setCurrentIndex(1);
        QCOMPARE(t(0), QString("2.5"));
        QCOMPARE(t(1), QString("2.5"));
        // A group with one unit has it selected on both sides.
        QCOMPARE(selector(8)->currentText(), QString("deg"));
        QCOMPARE(selector(9)->currentText(), QString("deg"));
        retype(entry(8), "5");
        QCOMPARE(t(9), QString("5"));
        // The group-3 line with extra blanks is there; 14 and text are not.
        QCOMPARE(selector(4)->currentText(), QString("liter"));
        // Small and large results in exponent form.
        selector(0)->setCurrentIndex(0);
        retype(entry(0), "0.01");
        QCOMPARE(t(1), QString("1E-05"));
        retype(entry(1), "100000000000000000");
        QCOMPARE(t(0), QString("1E+20"));
    }

    void keyFilter()
    {
        open(&smallTable);
        retype(entry(0), "12");
        QTest::keyClicks(entry(0), "a-+e, ");
        QTest::keyClick(entry(0), Qt::Key_Return);
        QCOMPARE(t(0), QString("12"));
        QTest::keyClicks(entry(0), ".5");
        QTest::keyClick(entry(0), Qt::Key_Backspace);
        QCOMPARE(t(0), QString("12."));
        QCOMPARE(t(1), QString("12"));
        // The selectors take no typing.
        giveFocus(selector(1));
        QTest::keyClicks(selector(1), "k");
        QCOMPARE(selector(1)->currentText(), QString("m"));
    }

    // Temperatures convert between like units only; between unlike ones
    // the partner shows "---", never a number left over from before.
    void temperatureNeverStale()
    {
        open(&smallTable);
        QCOMPARE(selector(11)->count(), 2);
        retype(entry(10), "100");
        QCOMPARE(t(11), QString("100")); // degC | degC
        selector(11)->setCurrentIndex(1);
        QCOMPARE(t(10), QString("100"));
        QCOMPARE(t(11), QString("---")); // degC | degF
        retype(entry(11), "212");
        QCOMPARE(t(10), QString("---"));
        selector(10)->setCurrentIndex(1);
        QCOMPARE(t(10), QString("212")); // degF | degF
        QCOMPARE(t(11), QString("212"));
    }

    // The box the user pastes into is the source, even when another box
    // was typed into last.
    void pastedBoxIsTheSource()
    {
        open(&smallTable);
        selector(1)->setCurrentIndex(1);
        retype(entry(0), "5");
        QCOMPARE(t(1), QString("0.005"));
        paste(entry(1), "3");
        QCOMPARE(t(1), QString("3"));
        QCOMPARE(t(0), QString("3000"));
        QCOMPARE(w().which(), 1);
    }

    // Nothing to convert leaves the target as it was.
    void nothingToConvert()
    {
        open(&smallTable);
        selector(1)->setCurrentIndex(1);
        retype(entry(0), "2500");
        QCOMPARE(t(1), QString("2.5"));
        QTest::keyClick(entry(0), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(entry(0), Qt::Key_Backspace);
        QCOMPARE(t(0), QString());
        QCOMPARE(t(1), QString("2.5"));
        QTest::keyClicks(entry(0), ".");
        QCOMPARE(t(1), QString("2.5"));
        // A group without units (4) and a factor of 0 (group 2, "nothing").
        retype(entry(6), "7");
        QCOMPARE(t(7), QString("1"));
        QCOMPARE(selector(2)->currentText(), QString("nothing"));
        retype(entry(3), "7");
        QCOMPARE(t(2), QString("1"));
    }

    void pastedAnything_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("partner");
        QTest::newRow("negative") << "-2500" << "-2.5";
        QTest::newRow("letters") << "abc" << "1";
        QTest::newRow("huge exponent") << "9e99999" << "1";
        QTest::newRow("overflowing result") << "1e308" << "1E+305";
        QTest::newRow("empty") << "" << "1";
        QTest::newRow("binary") << QString::fromLatin1("\x01\xfe\x7f") << "1";
    }
    void pastedAnything()
    {
        QFETCH(QString, text);
        QFETCH(QString, partner);
        open(&smallTable);
        selector(1)->setCurrentIndex(1);
        entry(1)->setText("1"); // as if typed: the km box shows 1
        paste(entry(0), text);
        QCOMPARE(t(1), partner);
        paste(entry(1), text); // km to m: 1e308 km overflows, stays as it was
        QVERIFY(!t(0).contains("inf") && !t(0).contains("nan"));
        QVERIFY(!QApplication::activeModalWidget());
    }

    void withoutTable()
    {
        const int beeps = beepCount();
        open(nullptr);
        QCOMPARE(beepCount(), beeps + 1);
        for (int i = 0; i < 26; ++i) {
            QCOMPARE(selector(i)->count(), 0);
            QCOMPARE(selector(i)->placeholderText(), QString("Select Unit"));
        }
        retype(entry(0), "25");
        QCOMPARE(t(1), QString("1"));
    }

    // Something other than a file in place of the table reads as missing,
    // without waiting on it.
    void tableNotAFile_data() { addOddFileRows(); }
    void tableNotAFile()
    {
        QFETCH(OddFile, odd);
        w().unload();
        makeOddFile(unitsPath(), odd);
        const int beeps = beepCount();
        QElapsedTimer clock;
        clock.start();
        popup("Math_unit");
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(beepCount(), beeps + 1);
        QCOMPARE(selector(0)->count(), 0);
        QVERIFY(isOddFile(unitsPath(), odd));
    }

    // The whole table is read however long it is; past the cap (far above
    // any real table) it is refused with a message, never read in part.
    void largeTables()
    {
        QByteArray big;
        while (big.size() < 3 << 20)
            big += "# padding line of a very long unit table, skipped as a heading\r\n";
        const QByteArray large = big + "1 furlong 0.004970969538\r\n";
        AlertSink alerts;
        open(&large);
        QVERIFY(selector(0)->findText("furlong") >= 0);
        QVERIFY(alerts.texts.isEmpty());

        QByteArray over = "1 m 1\r\n1 km 0.001\r\n";
        over += QByteArray((16 << 20) + 1 - over.size(), '#');
        open(&over);
        QTRY_COMPARE(alerts.texts.size(), 1);
        QVERIFY(alerts.texts[0].contains(unitsPath()));
        QVERIFY(alerts.texts[0].contains("16 MiB"));
        QCOMPARE(selector(0)->count(), 0);
    }

    // A large table is read while the event loop is served: between its
    // lines (counted with one-step slices, however fast the machine runs)
    // and in short slices.
    void largeTableInSlices()
    {
        const QByteArray big = largeTable(3 << 20);
        const int lines = int(big.count('\n'));
        AlertSink alerts;
        {
            StageTurns turns([] { return QStringLiteral("reading"); });
            open(&big);
            QVERIFY2(turns.count("reading") >= lines, qPrintable(turns.report()));
        }
        QCOMPARE(selector(0)->count(), 91);
        QCOMPARE(selector(1)->itemText(90), QString("furlong"));
        bool busySeen = true;
        const double longest = LoopGaps::bestOfTries([&](LoopGaps& gaps) {
            w().unload();
            QObject watch;
            connect(&w(), &ToolWindow::loaded, &watch, [&] { gaps.watchBusySign(w().formIfLoaded()); });
            gaps.restart();
            popup("Math_unit");
            gaps.stop();
            busySeen = busySeen && gaps.busySignSeen();
        });
        QVERIFY2(longest < LoopGaps::sliceLimitMs(), qPrintable(QString::number(longest)));
        QVERIFY(busySeen);
        QVERIFY(w().visible());
        QCOMPARE(w().form()->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(selector(0)->count(), 91);
        selector(1)->setCurrentIndex(90);
        retype(entry(0), "1");
        QCOMPARE(t(1), QString("0.004970969538"));
        QVERIFY(alerts.texts.isEmpty());
    }

    // Closed, or the program quit, while a large table is read: nothing of
    // the gone form is touched, and the window opens again as new.
    void endedMidway_data() { addCloseOrQuitRows(); }
    void endedMidway()
    {
        QFETCH(bool, quit);
        w().unload();
        writeFile(unitsPath(), largeTable(3 << 20));
        EndMidway end(w(), [this] { return w().reading(); }, quit);
        popup("Math_unit");
        QVERIFY(end.ended());
        QVERIFY(!w().reading());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!w().isLoaded());
        open(&smallTable);
        QCOMPARE(selector(0)->count(), 2);
        selector(1)->setCurrentIndex(1);
        retype(entry(0), "2500");
        QCOMPARE(t(1), QString("2.5"));
    }

    void damagedTables_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("distanceUnits");
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("binary") << QByteArray("\x00\xff\x01\x80\r\r\n\x00", 8) << 0;
        QTest::newRow("long line") << QByteArray(200000, '1') + "\n1 m 1\n" << 1;
        QTest::newRow("missing fields") << QByteArray("1\n1 m\n1 km 0.001") << 3;
        QTest::newRow("oversized") << QByteArray("1 m 1\n") + QByteArray(2 << 20, 'x') << 1;
    }
    void damagedTables()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, distanceUnits);
        open(&bytes);
        QCOMPARE(selector(0)->count(), distanceUnits);
        retype(entry(0), "3");
        QVERIFY(!t(1).contains("inf") && !t(1).contains("nan"));
    }
};

VOLTARIS_TEST(TestUnitConverter);
#include "test_unitconverter.moc"

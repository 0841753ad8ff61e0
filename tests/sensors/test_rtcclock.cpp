// The real-time-clock tester's codec and arithmetic: bridge scripts, the
// read-time reply, the offset measurement, the counter reply and the trim.

#include "support/testmain.h"

#include "sensors/rtcclock.h"

#include <QTest>
#include <QTimeZone>

#include <cmath>
#include <ctime>

using namespace rtcclock;

namespace {

// A 48-character read-time reply with the seven register bytes (02 to 08,
// as hexadecimal pairs) at positions 21, 25, ... 45 and filler elsewhere.
QString reply(const QStringList& registers)
{
    QString frame = QStringLiteral("0010") + QString(44, QLatin1Char('0'));
    for (int i = 0; i < 7; ++i)
        frame.replace(20 + 4 * i, 2, registers.value(i));
    return frame;
}

QString replyFor(double chipTime)
{
    const int t = int(std::floor(chipTime));
    auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return reply({two(t % 60), two(t / 60 % 60), two(t / 3600 % 24), "09", "03", "12", "26"});
}

} // namespace

class RtcClockTest : public QObject {
    Q_OBJECT

private slots:
    void fixedScripts()
    {
        QCOMPARE(timeCheckScript(), QStringLiteral("$0010120001A20102040001A30202020202020304\r"));
        QCOMPARE(clockOutScript(true), QStringLiteral("$0010090001A2010D018304\r"));
        QCOMPARE(clockOutScript(false), QStringLiteral("$0010090001A2010D010304\r"));
    }

    void timeSetScript_data()
    {
        QTest::addColumn<QDateTime>("pcNow");
        QTest::addColumn<QString>("sent");
        QTest::newRow("wednesday") << QDateTime(QDate(2026, 12, 9), QTime(7, 15, 15, 640))
                                   << "$0010150001A20102011701150107010901030112012604\r";
        QTest::newRow("hour carry") << QDateTime(QDate(2026, 12, 9), QTime(10, 59, 58))
                                    << "$0010150001A20102010001000111010901030112012604\r";
        QTest::newRow("new year") << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58))
                                  << "$0010150001A20102010001000100010101050101012704\r";
        QTest::newRow("century") << QDateTime(QDate(2105, 3, 4), QTime(5, 6, 7))
                                 << "$0010150001A20102010901060105010401030103010504\r";
    }
    void timeSetScript()
    {
        QFETCH(QDateTime, pcNow);
        QFETCH(QString, sent);
        QCOMPARE(rtcclock::timeSetScript(timeToWrite(pcNow)), sent);
    }

    // 02:30:00.3 in Berlin on 25 October 2026, in the hour that summer
    // time's end repeats: whichever pass the time names, and whether it was
    // made in a named zone or as local time, from its fields or from UTC,
    // the time written is 02:30:02 of the same pass, 1.7 s on, and the
    // script leaves 2 s on.
    void timeToWriteInTheRepeatedHour_data()
    {
        QTest::addColumn<bool>("named");  // a named zone, else local time
        QTest::addColumn<int>("utcHour"); // the pass by its UTC hour; -1 from the local fields
        for (const bool named : {true, false}) {
            const char* how = named ? "zone" : "local";
            QTest::addRow("%s, from the fields", how) << named << -1;
            QTest::addRow("%s, first pass", how) << named << 0;
            QTest::addRow("%s, second pass", how) << named << 1;
        }
    }
    void timeToWriteInTheRepeatedHour()
    {
        QFETCH(bool, named);
        QFETCH(int, utcHour);
        const QTimeZone berlin("Europe/Berlin");
        if (!berlin.isValid())
            QSKIP("no time zone data for Europe/Berlin");
        struct LocalZone {
            QByteArray old = qgetenv("TZ");
            bool had = qEnvironmentVariableIsSet("TZ");
            LocalZone()
            {
                qputenv("TZ", "Europe/Berlin");
                tzset();
            }
            ~LocalZone()
            {
                had ? qputenv("TZ", old) : qunsetenv("TZ");
                tzset();
            }
        } local;
        const QDate day(2026, 10, 25);
        QDateTime pcNow;
        if (utcHour < 0)
            pcNow = named ? QDateTime(day, QTime(2, 30, 0, 300), berlin) : QDateTime(day, QTime(2, 30, 0, 300));
        else {
            const QDateTime utc(day, QTime(utcHour, 30, 0, 300), QTimeZone::utc());
            pcNow = named ? utc.toTimeZone(berlin) : utc.toLocalTime();
        }
        QCOMPARE(pcNow.time(), QTime(2, 30, 0, 300));
        const QDateTime written = timeToWrite(pcNow);
        QCOMPARE(pcNow.msecsTo(written), qint64(1700));
        QCOMPARE(written.time(), QTime(2, 30, 2));
        QCOMPARE(written.offsetFromUtc(), pcNow.offsetFromUtc());
        QCOMPARE(pcNow.msecsTo(*sendMoment(written, 0)), qint64(2000));
        QCOMPARE(rtcclock::timeSetScript(written), QStringLiteral("$0010150001A20102010201300102012501000110012604\r"));
    }

    void delayAndSendMoment()
    {
        struct Case { const char* text; bool ok; double value; };
        const Case cases[] = {
            {"0", true, 0}, {"-1.5", true, -1.5}, {".5", true, 0.5}, {"2.", true, 2}, {" 3 ", true, 3},
            {"", false, 0}, {"-", false, 0}, {"1e3", false, 0}, {"--1", false, 0}, {"1.2.3", false, 0},
            {"+1", false, 0}, {"abc", false, 0}, {"1,5", false, 0},
        };
        for (const Case& c : cases) {
            const auto v = parseDelay(QString::fromLatin1(c.text));
            QVERIFY2(v.has_value() == c.ok, c.text);
            if (c.ok)
                QCOMPARE(*v, c.value);
        }
        const QDateTime written(QDate(2026, 12, 31), QTime(23, 59, 59));
        QCOMPARE(*sendMoment(written, 0), written.addMSecs(300));
        QCOMPARE(*sendMoment(written, -2), written.addMSecs(-1700));
        QCOMPARE(*sendMoment(written, 1.25), QDateTime(QDate(2027, 1, 1), QTime(0, 0, 0, 550)));
        // Absurd delays: no moment, so nothing is sent.
        QVERIFY(!sendMoment(written, 1e300));
        QVERIFY(!sendMoment(written, -1e15));
        QVERIFY(!sendMoment(written, NAN));
        QVERIFY(!sendMoment(written, INFINITY));
        const auto huge = parseDelay(QString(400, QLatin1Char('9')));
        QVERIFY(!huge || !sendMoment(written, *huge));
    }

    void decode_data()
    {
        QTest::addColumn<QStringList>("registers");
        QTest::addColumn<QStringList>("boxes"); // Years .. Seconds
        QTest::addColumn<double>("timeOfDay");
        QTest::newRow("plain") << QStringList{"45", "30", "07", "09", "03", "12", "26"}
                               << QStringList{"2026", "12", "9", "WED", "7", "30", "45"} << 7 * 3600. + 30 * 60 + 45;
        QTest::newRow("flag bits") << QStringList{"85", "59", "23", "31", "07", "92", "99"}
                                   << QStringList{"2099", "12", "31", "---", "23", "59", "5"} << 23 * 3600. + 59 * 60 + 5;
        QTest::newRow("sunday, midnight") << QStringList{"00", "00", "00", "01", "00", "01", "27"}
                                          << QStringList{"2027", "1", "1", "SUN", "0", "0", "0"} << 0.;
        QTest::newRow("bad bcd") << QStringList{"12", "3A", "FF", "3F", "FE", "FF", "A5"}
                                 << QStringList{"20A5", "1F", "3F", "SAT", "3F", "3A", "12"} << 3 * 3600. + 3 * 60 + 12;
        QTest::newRow("lower case") << QStringList{"0a", "1b", "2c", "3d", "04", "1e", "ab"}
                                    << QStringList{"20ab", "1E", "3D", "THU", "2C", "1B", "A"} << 2 * 3600. + 60 + 0;
    }
    void decode()
    {
        QFETCH(QStringList, registers);
        QFETCH(QStringList, boxes);
        QFETCH(double, timeOfDay);
        const auto chip = decodeReply(reply(registers));
        QVERIFY(chip);
        QCOMPARE(QStringList(chip->boxes.begin(), chip->boxes.end()), boxes);
        QCOMPARE(chip->timeOfDay, timeOfDay);
        QVERIFY(chip->registersHex);
    }

    void decodeRejectsOtherLengthsAndSurvivesGarbage()
    {
        const QString good = reply({"45", "30", "07", "09", "03", "12", "26"});
        QVERIFY(!decodeReply(good.left(47)));
        QVERIFY(!decodeReply(good + "0"));
        QVERIFY(!decodeReply(QString()));
        QVERIFY(!decodeReply(QStringLiteral("00")));
        // Not hexadecimal anywhere: decoded field by field as the chip reads, no crash.
        const auto junk = decodeReply(QString(48, QChar(0xFFFD)));
        QVERIFY(junk);
        QCOMPARE(junk->boxes[6], QStringLiteral("0"));
        QVERIFY(!junk->registersHex);
        const auto binary = decodeReply(QString::fromLatin1(QByteArray(48, '\0')));
        QVERIFY(binary);
        QVERIFY(!binary->registersHex);
        // One register byte garbled is no reading to measure with.
        QString garbled = good;
        garbled[33] = QLatin1Char('x');
        QVERIFY(!decodeReply(garbled)->registersHex);
    }

    // A chip leading or lagging the PC by a fixed amount, polled every 20 ms
    // with the measurement timer every 5 ms: every completed offset lies
    // within one poll below the true one (the change is seen up to a poll
    // late) and the measurements go on across midnight.
    void offsets_data()
    {
        QTest::addColumn<double>("lead");  // seconds
        QTest::addColumn<double>("start"); // PC time of day
        QTest::newRow("ahead 250") << 0.25 << 7 * 3600. + 15 * 60 + 15.1;
        QTest::newRow("behind 300") << -0.3 << 7 * 3600. + 15 * 60 + 15.1;
        QTest::newRow("behind 1.7 s") << -1.7 << 100.;
        QTest::newRow("ahead an hour") << 3600.25 << 100.;
        QTest::newRow("ahead across midnight") << 0.25 << 86397.;
        QTest::newRow("behind across midnight") << -0.3 << 86397.;
        QTest::newRow("even") << 0. << 5000.003;
    }
    void offsets()
    {
        QFETCH(double, lead);
        QFETCH(double, start);
        OffsetMeter meter;
        QList<qint64> results;
        for (int step = 0; step < 6 * 200; ++step) { // 6 s of 5 ms ticks
            const double pc = std::fmod(start + step * 0.005, 86400.);
            if (step % 4 == 0) {
                const double chip = std::fmod(start + step * 0.005 + lead + 86400., 86400.);
                meter.reading(*decodeReply(replyFor(chip)), pc);
            }
            if (const auto offset = meter.tick())
                results << *offset;
        }
        QVERIFY2(results.size() >= 5, qPrintable(QString::number(results.size())));
        const qint64 expected = qint64(std::floor(lead * 1000 + 1e-6));
        for (const qint64 r : results)
            QVERIFY2(r <= expected + 1 && r >= expected - 21, qPrintable(QStringLiteral("%1").arg(r)));
    }

    void offsetNeedsTwoReadingsAndStopsOnReset()
    {
        OffsetMeter meter;
        const auto at10 = *decodeReply(replyFor(10.0));
        const auto at11 = *decodeReply(replyFor(11.0));
        // The first reading only sets the start, however different the
        // seconds box was before.
        meter.reading(at10, 10.0);
        QVERIFY(!meter.pending());
        QVERIFY(!meter.tick());
        meter.reading(at11, 10.7); // chip 0.3 s ahead
        // A later change before the timer takes the capture over does not
        // move the PC time of the change.
        meter.reading(*decodeReply(replyFor(12.0)), 10.71);
        QCOMPARE(*meter.tick(), qint64(300));
        QVERIFY(!meter.pending());
        QVERIFY(!meter.tick());
        // The next change starts the next measurement: 0.6 s behind.
        meter.reading(*decodeReply(replyFor(13.0)), 13.6);
        QCOMPARE(*meter.tick(), qint64(-600));
        // Reset (Auto off, Sync): the next reading is a start again.
        meter.reading(at10, 20.0);
        meter.reset();
        QVERIFY(!meter.pending());
        meter.reading(at11, 20.5);
        QVERIFY(!meter.tick());
        QVERIFY(!meter.pending());
    }

    void wrapDayTable()
    {
        const double cases[][2] = {{0, 0}, {43199, 43199}, {43200, -43200}, {-86399.75, 0.25},
                                   {86399.75, -0.25}, {-0.3, -0.3}, {172800.5, 0.5}};
        for (const auto& c : cases)
            QVERIFY2(std::fabs(wrapDay(c[0]) - c[1]) < 1e-9, qPrintable(QString::number(c[0])));
    }

    void counterReplies()
    {
        struct Case { const char* frame; bool ok; qint32 count; };
        const Case cases[] = {
            {"001005F5E100", true, 100000000},
            {"0010123405f5e100", true, 100000000},
            {"0010FFFFFFFF", true, -1},
            {"00100000", false, 0},
            {"00105F5E100", false, 0},     // seven digits after the code
            {"0010xx05F5E10G", false, 0},  // last eight not all hex
            {"0011000005F5E100", false, 0},
            {"", false, 0},
            {"0010 5F5E100", false, 0},
        };
        for (const Case& c : cases) {
            const auto v = parseCount(QString::fromLatin1(c.frame));
            QVERIFY2(v.has_value() == c.ok, c.frame);
            if (c.ok)
                QCOMPARE(*v, c.count);
        }
    }

    void ppmAndTrim()
    {
        QCOMPARE(errorPpmText(100000000), QStringLiteral("0.00"));
        QCOMPARE(errorPpmText(99998000), QStringLiteral("-20.00"));
        QCOMPARE(errorPpmText(100001500), QStringLiteral("15.00"));
        QCOMPARE(errorPpmText(99999500), QStringLiteral("-5.00"));
        QCOMPARE(errorPpmText(-1), QStringLiteral("-1000000.01"));

        struct Case { const char* c0; const char* c1; const char* scale; const char* trim; };
        const Case cases[] = {
            {"100000000", "99998000", "0.380", "0"}, // -0 shows as 0
            {"100001500", "99999500", "1", "15"},
            {"100001500", "99999500", "1.500", "22.5"},
            {"100001500", "99999500", "0", "0"},
            {"---", "99998000", "1", "---"},
            {"100000000", "---", "1", "---"},
            {"99998000", "99998000", "1", "---"},
            {"100000000", "", "1", "---"},
            {"-1", "99998000", "1", "20.0004000079962"},
        };
        for (const Case& c : cases)
            QCOMPARE(trimText(QString::fromLatin1(c.c0), QString::fromLatin1(c.c1), QString::fromLatin1(c.scale)),
                     QString::fromLatin1(c.trim));

        QCOMPARE(scaleText("1.5"), QStringLiteral("1.500"));
        QCOMPARE(scaleText("0.38"), QStringLiteral("0.380"));
        QCOMPARE(scaleText("2x7"), QStringLiteral("2.000"));
        QCOMPARE(scaleText("abc"), QStringLiteral("0.000"));
    }

    void logLineForm()
    {
        QCOMPARE(logLine(QDateTime(QDate(2026, 12, 9), QTime(7, 15, 17, 480)), "250"),
                 QStringLiteral("2026-12-09 07:15:17,250"));
        QCOMPARE(logLine(QDateTime(QDate(2027, 1, 1), QTime(0, 0, 0)), "-300"),
                 QStringLiteral("2027-01-01 00:00:00,-300"));
    }
};

VOLTARIS_TEST(RtcClockTest);

#include "test_rtcclock.moc"

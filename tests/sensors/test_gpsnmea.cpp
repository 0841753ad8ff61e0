// The 9064 module's sentences, commands and replies, and the position
// error arithmetic, as plain functions.

#include "support/testmain.h"

#include "sensors/gpsanalysis.h"
#include "sensors/gpsnmea.h"

#include <QTest>

#include <cmath>

using namespace gps;

Q_DECLARE_METATYPE(std::optional<double>)

class GpsNmeaTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void kinds_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<int>("kind");
        QTest::newRow("GGA") << "GPGGA,123519,4807.038,N" << int(Sentence::Gga);
        QTest::newRow("lower case") << "gpgga,1" << int(Sentence::Gga);
        QTest::newRow("RMC") << "GPRMC,1" << int(Sentence::Rmc);
        QTest::newRow("GSV") << "GPGSV,2,1" << int(Sentence::Gsv);
        QTest::newRow("VTG") << "GPVTG,1" << int(Sentence::Vtg);
        QTest::newRow("GSA") << "GPGSA" << int(Sentence::Gsa);
        QTest::newRow("GLL") << "GPGLL,1" << int(Sentence::Gll);
        QTest::newRow("another talker") << "GNGGA,123519,4807.038" << int(Sentence::Other);
        QTest::newRow("reply") << "PDME,7,10*3A" << int(Sentence::Pdme);
        QTest::newRow("reply any case") << "pdMe,12,5" << int(Sentence::Pdme);
        QTest::newRow("reply alone") << "PDME" << int(Sentence::Pdme);
        QTest::newRow("name longer") << "PDMEX,1" << int(Sentence::Other);
        QTest::newRow("garbage") << QString::fromLatin1("\x01\xff,GPGGA") << int(Sentence::Other);
        QTest::newRow("short") << "GPG" << int(Sentence::Other);
    }
    void kinds()
    {
        QFETCH(QString, frame);
        QFETCH(int, kind);
        QCOMPARE(int(classify(frame)), kind);
    }

    void timeAndDateForms_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("utc");
        QTest::addColumn<QString>("date");
        QTest::newRow("NMEA time") << "123519.000" << "12:35:19.000" << "35/12/00";
        QTest::newRow("whole seconds") << "123519" << "12:35:19" << "35/12/19";
        QTest::newRow("date") << "230394" << "23:03:94" << "03/23/94";
        QTest::newRow("empty") << "" << "" << "";
        QTest::newRow("short") << "12" << "12::" << "/12/12";
    }
    void timeAndDateForms()
    {
        QFETCH(QString, field);
        QFETCH(QString, utc);
        QFETCH(QString, date);
        QCOMPARE(utcForm(field), utc);
        QCOMPARE(dateForm(field), date);
    }

    void boxesKeepFieldPlaces()
    {
        const QStringList gga = sentenceFields("GPGGA,123519.000,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47");
        QCOMPARE(gga.size(), 15);
        const auto g = ggaBoxes(gga);
        const std::array<QString, 10> want{"12:35:19.000", "4807.038", "N", "01131.000", "E",
                                           "1",            "08",       "0.9", "545.4",   "46.9"};
        QCOMPARE(g, want);

        // A short sentence shows what it has; the rest stays empty.
        const auto s = ggaBoxes(sentenceFields("GPGGA,123519,,,01131.000"));
        QCOMPARE(s[0], QStringLiteral("12:35:19"));
        QCOMPARE(s[1], QString());
        QCOMPARE(s[3], QStringLiteral("01131.000"));
        QCOMPARE(s[9], QString());

        const auto r = rmcBoxes(sentenceFields("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A"));
        const std::array<QString, 9> rwant{"03/23/94", "12:35:19", "4807.038", "N", "01131.000",
                                           "E",        "022.4",    "084.4",    "A"};
        QCOMPARE(r, rwant);
        const auto rs = rmcBoxes(sentenceFields("GPRMC,123519,A,4807.038"));
        QCOMPARE(rs[0], QString());
        QCOMPARE(rs[2], QStringLiteral("4807.038"));
        QCOMPARE(rs[8], QStringLiteral("A"));
    }

    void coordinates_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<double>("degrees"); // NaN: not a position
        QTest::newRow("four decimals") << "4807.0380" << 48.1173;
        QTest::newRow("five decimals") << "4807.03800" << 48.1173;
        QTest::newRow("three decimals") << "4807.038" << 48.1173;
        QTest::newRow("longitude") << "01131.00000" << 11.5 + 1.0 / 60;
        QTest::newRow("whole minutes") << "4800" << 48.0;
        QTest::newRow("under a degree") << "0030.0" << 0.5;
        QTest::newRow("empty") << "" << qQNaN();
        QTest::newRow("letters") << "48O7.038" << qQNaN();
        QTest::newRow("checksum attached") << "4807.038*47" << qQNaN();
        QTest::newRow("blank") << " " << qQNaN();
    }
    void coordinates()
    {
        QFETCH(QString, field);
        QFETCH(double, degrees);
        const std::optional<double> v = coordinate(field);
        if (std::isnan(degrees)) {
            QVERIFY(!v);
        } else {
            QVERIFY(v);
            QVERIFY2(std::abs(*v - degrees) < 1e-12, qPrintable(QString::number(*v, 'g', 17)));
        }
    }

    void fixesOnlyFromPositions_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<bool>("fix");
        const QString tail = QStringLiteral(",0.9,545.4,M,46.9,M,,*47");
        QTest::newRow("fix") << "GPGGA,1,4807.038,N,01131.000,E,1,08" + tail << true;
        QTest::newRow("differential") << "GPGGA,1,4807.038,N,01131.000,E,2,08" + tail << true;
        QTest::newRow("quality 0") << "GPGGA,1,4807.038,N,01131.000,E,0,08" + tail << false;
        QTest::newRow("empty latitude") << "GPGGA,1,,N,01131.000,E,1,08" + tail << false;
        QTest::newRow("empty longitude") << "GPGGA,1,4807.038,N,,E,1,08" + tail << false;
        QTest::newRow("letters") << "GPGGA,1,48A7.038,N,01131.000,E,1,08" + tail << false;
        QTest::newRow("no fix at all") << "GPGGA,1,,,,,0,00,,,M,,M,,*66" << false;
        QTest::newRow("eleven fields") << "GPGGA,1,4807.038,N,01131.000,E,1,08,0.9,545.4,M" << false;
        QTest::newRow("twelve fields") << "GPGGA,1,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9" << true;
    }
    void fixesOnlyFromPositions()
    {
        QFETCH(QString, frame);
        QFETCH(bool, fix);
        const std::optional<Position> p = ggaFix(sentenceFields(frame));
        QCOMPARE(bool(p), fix);
        if (p) {
            QVERIFY(std::abs(p->lat - 48.1173) < 1e-12);
            QVERIFY(std::abs(p->lon - (11 + 31.0 / 60)) < 1e-12);
        }
    }

    void commands_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("text"); // "-": refused
        QTest::newRow("set mask") << 0 << "15" << "$PDME,8,15";
        QTest::newRow("set mask rounds") << 0 << "15.6" << "$PDME,8,16";
        QTest::newRow("set mask empty") << 0 << "" << "$PDME,8,";
        QTest::newRow("set mask text") << 0 << "---" << "-";
        QTest::newRow("set mask injection") << 0 << "5\r\n$PDME,0" << "-";
        QTest::newRow("set mask number and text") << 0 << "12abc" << "-";
        QTest::newRow("get mask") << 1 << "x" << "$PDME,7";
        QTest::newRow("cold") << 2 << "" << "$PDME,0";
        QTest::newRow("warm") << 3 << "" << "$PDME,1";
        QTest::newRow("hot") << 4 << "" << "$PDME,2";
        QTest::newRow("est error") << 5 << "" << "$PDME,12,5";
        QTest::newRow("leap") << 6 << "" << "$PDME,12,6";
        QTest::newRow("no such button") << 7 << "" << "-";
    }
    void commands()
    {
        QFETCH(int, index);
        QFETCH(QString, mask);
        QFETCH(QString, text);
        const std::optional<QString> c = commandText(index, mask);
        if (text == QLatin1String("-"))
            QVERIFY(!c);
        else
            QCOMPARE(c.value_or("(none)"), text);
    }

    void replies_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QStringList>("set"); // "box=text"
        QTest::newRow("est error") << "PDME,12,5,4.5,7.0" << QStringList{"1=14.76", "2=22.97"};
        QTest::newRow("est error empty") << "PDME,12,5" << QStringList{};
        QTest::newRow("est error checksum") << "PDME,12,5,4.5,7.0*2B" << QStringList{"1=14.76", "2=22.97"};
        QTest::newRow("empty with checksum") << "PDME,12,5*2B" << QStringList{};
        QTest::newRow("leap") << "PDME,12,6,13" << QStringList{"3=13"};
        QTest::newRow("leap empty") << "PDME,12,6" << QStringList{};
        QTest::newRow("mask") << "PDME,7,10*3A" << QStringList{"0=10"};
        QTest::newRow("mask empty") << "PDME,7" << QStringList{};
        QTest::newRow("restart ack") << "PDME,0" << QStringList{};
        QTest::newRow("set mask ack") << "PDME,8,15" << QStringList{};
        // Values that end in the digit of their sub-command are values.
        QTest::newRow("mask 7") << "PDME,7,7" << QStringList{"0=7"};
        QTest::newRow("mask 7 checksum") << "PDME,7,7*3E" << QStringList{"0=7"};
        QTest::newRow("est error 3,5") << "PDME,12,5,3,5" << QStringList{"1=9.84", "2=16.40"};
        QTest::newRow("leap 6") << "PDME,12,6,6" << QStringList{"3=6"};
        QTest::newRow("mask field empty") << "PDME,7,*3F" << QStringList{};
        QTest::newRow("garbage values") << "PDME,12,5,abc,\x01" << QStringList{"1=0.00", "2=0.00"};
    }
    void replies()
    {
        QFETCH(QString, frame);
        QFETCH(QStringList, set);
        QStringList got;
        for (const BoxValue& v : replyValues(frame))
            got << QString::number(v.box) + u'=' + v.text;
        QCOMPARE(got, set);
    }

    void errorsClampAndRings_data()
    {
        QTest::addColumn<double>("lat");
        QTest::addColumn<double>("lon");
        QTest::addColumn<int>("ring");
        QTest::newRow("centre") << 0.0 << 0.0 << 0;
        QTest::newRow("exactly 10") << 10.0 << -10.0 << 0;
        QTest::newRow("just over 10") << 10.001 << 0.0 << 1;
        QTest::newRow("5 and 25") << 5.0 << 25.0 << 2;
        QTest::newRow("36.4") << -36.432 << 0.0 << 3;
        QTest::newRow("exactly 70") << 70.0 << 70.0 << 6;
        QTest::newRow("over 70") << 0.0 << 70.5 << 7;
        QTest::newRow("clamped 80") << 80.0 << 0.0 << 7;
    }
    void errorsClampAndRings()
    {
        QFETCH(double, lat);
        QFETCH(double, lon);
        QFETCH(int, ring);
        QCOMPARE(ringIndex({clampError(lat), clampError(lon)}), ring);
    }

    void errorsInFeet()
    {
        const Position ref{48.11730000, 11.51666667};
        const Errors centre = positionErrors(ref, {48.1173, 11 + 31.0 / 60});
        QVERIFY(std::abs(centre.lat) < 1e-3 && std::abs(centre.lon) < 1e-3);
        const Errors below = positionErrors(ref, {48.1172, 11.51666667});
        QVERIFY(std::abs(below.lat - 36.432) < 1e-6);
        QCOMPARE(clampError(80), 75.0);
        QCOMPARE(clampError(-1e9), -75.0);
        QCOMPARE(clampError(-12.5), -12.5);
    }

    void ringTexts()
    {
        QCOMPARE(ringText(3, 4, true), QStringLiteral("75.0"));
        QCOMPARE(ringText(1, 4, true), QStringLiteral("25.0"));
        QCOMPARE(ringText(0, 4, true), QStringLiteral("0.0"));
        QCOMPARE(ringText(1, 3, true), QStringLiteral("33.3"));
        QCOMPARE(ringText(3, 4, false), QStringLiteral("3"));
        QCOMPARE(ringText(0, 0, true), QStringLiteral("0.0"));
    }

    void logLineFields()
    {
        const LogBoxes b{"03/23/94", "12:35:19.000", "N", "E", "545.4", "1", "08", "0.9", "022.4", "084.4"};
        QCOMPARE(logLine(b, {48.1173, 11.5}, {80, -0.25}),
                 QStringLiteral("[03/23/94],[12:35:19.000], 48.1173,N, 11.5,E, 80,-.25,545.4,1,08,0.9,022.4,084.4"));
        QCOMPARE(logLine(b, {48.1173, 11.5}, {80, -0.25}).count(u','), 13);
    }

    void locationFiles_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("ok");
        QTest::newRow("two numbers") << QStringList{"48.11730000", "11.51666667"} << true;
        QTest::newRow("more lines") << QStringList{" 48.1173 ", "11.5", "notes"} << true;
        QTest::newRow("one line") << QStringList{"48.1173"} << false;
        QTest::newRow("empty") << QStringList{} << false;
        QTest::newRow("text") << QStringList{"latitude", "longitude"} << false;
        QTest::newRow("number and text") << QStringList{"48.1173", "11.5 deg"} << false;
        QTest::newRow("binary") << QStringList{QString::fromLatin1("\x89PNG\x01"), QString::fromLatin1("\xff")}
                                << false;
    }
    void locationFiles()
    {
        QFETCH(QStringList, lines);
        QFETCH(bool, ok);
        const std::optional<Position> p = locationLines(lines);
        QCOMPARE(bool(p), ok);
        if (p)
            QVERIFY(std::abs(p->lat - 48.1173) < 1e-9);
    }
};

VOLTARIS_TEST(GpsNmeaTest);
#include "test_gpsnmea.moc"

#include "support/alertsink.h"
#include "support/filechoice.h"
#include "support/findcontrol.h"
#include "support/modal.h"
#include "support/oddfiles.h"
#include "support/tempfolders.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "common/alert.h"
#include "common/paths.h"
#include "utilities/ant16chart.h"
#include "utilities/util_ant16print.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <functional>

using namespace ant16;

namespace {
Util_ant16print& window()
{
    return FormSlots::get<Util_ant16print>();
}
template <class W>
W* ctl(const QString& name)
{
    return controlOf<W>(window(), name);
}
QCheckBox* channel(int i)
{
    return ctl<QCheckBox>(QStringLiteral("channelselect_%1").arg(i));
}
void click(int index)
{
    ctl<QPushButton>(QStringLiteral("cmmd_%1").arg(index))->click();
}

// Answers the window's alerts with OK and leaves the file chooser alone.
struct Alert : ModalAnswer {
    Alert() : ModalAnswer(QStringLiteral("Command1_0")) { setWindowName(QStringLiteral("Z_alert")); }
};

using Level = std::function<int(int sample, int channel)>;
// A capture file: the four header lines, the names line, then sampleLines
// lines of sixteen levels.
QByteArray capture(const Level& level, int sampleLines = samples, const QByteArray& names = QByteArray())
{
    QByteArray b = "AntProgramVersion,\"2\"\r\nCapture,\"Bench 3\"\r\nTrigger,\"ch0 rise\"\r\nRate,\"10ns\"\r\n";
    if (names.isEmpty()) {
        QStringList n;
        for (int ch = 0; ch < channels; ++ch)
            n << QStringLiteral("\"ch%1\"").arg(ch);
        b += n.join(u',').toLatin1() + "\r\n";
    } else {
        b += names + "\r\n";
    }
    for (int s = 0; s < sampleLines; ++s) {
        QByteArray line;
        for (int ch = 0; ch < channels; ++ch)
            line += (ch ? "," : "") + QByteArray::number(level(s, ch));
        b += line + "\r\n";
    }
    return b;
}
int low(int, int)
{
    return 0;
}

Levels levelsOf(const Level& level)
{
    Levels v{};
    for (int ch = 0; ch < channels; ++ch) {
        for (int s = 0; s < samples; ++s)
            v[size_t(ch)][size_t(s)] = uchar(level(s, ch));
        v[size_t(ch)][samples] = v[size_t(ch)][samples - 1];
    }
    return v;
}
Options only(std::initializer_list<int> chans)
{
    Options o;
    for (int ch : chans)
        o.printed[size_t(ch)] = true;
    for (int ch = 0; ch < channels; ++ch)
        o.names[size_t(ch)] = QStringLiteral("Channel %1").arg(ch);
    o.heading = QStringLiteral("head");
    return o;
}
std::vector<ChartLine> linesWhere(const Chart& c, const std::function<bool(const ChartLine&)>& pred)
{
    std::vector<ChartLine> out;
    for (const ChartLine& l : c.lines)
        if (pred(l))
            out.push_back(l);
    return out;
}
bool horizontal(const ChartLine& l)
{
    return l.y1 == l.y2;
}
bool vertical(const ChartLine& l)
{
    return l.x1 == l.x2 && l.y1 != l.y2;
}
int pdfPages(const QByteArray& pdf)
{
    return int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page ") + pdf.count("/Type /Page/") +
               pdf.count("/Type /Page>"));
}
} // namespace

class TestAnt16Print : public QObject {
    Q_OBJECT
    std::unique_ptr<TempFolders> folders;

    QString workCapture(const QString& name, const QByteArray& bytes)
    {
        return QDir::toNativeSeparators(writeFile(folders->workFile(name), bytes));
    }
    // Load through the chooser, answered with path.
    void loadFile(const QString& path)
    {
        FileChoiceAnswer pick(path);
        click(0);
        QCOMPARE(pick.asked(), 1);
    }
    QStringList pdfsInWork() const
    {
        return QDir(folders->work()).entryList({"*.pdf"}, QDir::Files);
    }

private Q_SLOTS:
    void init()
    {
        folders = std::make_unique<TempFolders>();
        popup("Util_ant16print");
        QVERIFY(window().visible());
    }
    void cleanup()
    {
        window().unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        folders.reset();
    }

    void stripperAndHeading()
    {
        QString line = "AntProgramVersion,\"2\"";
        QCOMPARE(stripper(line), QStringLiteral("AntProgramVersion 2 "));
        QCOMPARE(line, QStringLiteral("AntProgramVersion  2 "));
        QString spaced = "  one,, \"two\"   three ";
        QCOMPARE(stripper(spaced), QStringLiteral("one two three "));
        QString empty;
        QCOMPARE(stripper(empty), QString());
        QCOMPARE(heading({"a,b", "c", "d", "e"}), QStringLiteral("a b  / c  / d  / e  "));
    }

    void loadFillsTheWindow()
    {
        QByteArray names = "\"Clock\",\"A very long channel name\",unquoted,\"D3\"";
        const QString path = workCapture("run1.csv", capture(low, samples, names));
        channel(16)->setChecked(true);
        channel(2)->setChecked(true);
        FileChoiceAnswer pick(path);
        click(0);
        QCOMPARE(pick.asked(), 1);
        QCOMPARE(pick.title(), QStringLiteral("Select Ant16 CSV file"));
        QCOMPARE(QDir(pick.choosers.at(0).folder).canonicalPath(), QDir(worktemp()).canonicalPath());
        QCOMPARE(pick.choosers.at(0).mask, QStringLiteral("*.csv"));

        QCOMPARE(ctl<QLineEdit>("Heading")->text(),
                 QStringLiteral("AntProgramVersion 2  / Capture Bench 3  / Trigger ch0 rise  / Rate 10ns  "));
        QCOMPARE(channel(0)->text(), QStringLiteral("Clock"));
        QCOMPARE(channel(1)->text(), QStringLiteral("A very long channel name"));
        QCOMPARE(channel(2)->text(), QString());
        QCOMPARE(channel(3)->text(), QStringLiteral("D3"));
        QCOMPARE(channel(4)->text(), QString()); // no field at all
        QCOMPARE(ctl<QLineEdit>("Text1")->text(), path.toUpper());
        QCOMPARE(window().filename(), path);
        // Ticks stay as the user set them.
        QVERIFY(channel(16)->isChecked());
        QVERIFY(channel(2)->isChecked());
    }

    void loadRefusesWhatIsNoCapture_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("alerts");
        QTest::newRow("wrong first field") << QByteArray("antprogramversion,2\r\nb\r\nc\r\nd\r\ne\r\n") << 0;
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("binary") << QByteArray("\x00\xff\x01\r\x89PNG\x00", 9) << 0;
        QTest::newRow("header ends at line 3") << QByteArray("AntProgramVersion,2\r\nb\r\nc\r\n") << 1;
        QTest::newRow("header ends at line 4, no line end") << QByteArray("AntProgramVersion\nb\nc\nd") << 1;
    }
    void loadRefusesWhatIsNoCapture()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, alerts);
        const QString before = window().filename();
        const QString path = workCapture("odd.csv", bytes);
        Alert alert;
        loadFile(path);
        QCOMPARE(alert.answered(), alerts > 0);
        if (alerts) {
            QVERIFY(alert.text().contains(path));
            QVERIFY(alert.text().contains(QString::number(bytes.count('\n') + (bytes.endsWith('\n') ? 0 : 1))));
        }
        QCOMPARE(window().filename(), before);
        QCOMPARE(ctl<QLineEdit>("Heading")->text(), QString());
        QCOMPARE(ctl<QLineEdit>("Text1")->text(), QString());
        QCOMPARE(channel(5)->text(), QStringLiteral("Channel 5"));
    }

    void loadCancelledChangesNothing()
    {
        FileChoiceAnswer pick = FileChoiceAnswer::cancel();
        click(0);
        QCOMPARE(pick.asked(), 1);
        QCOMPARE(window().filename(), joinpath(worktemp(), "ant16.csv"));
        QCOMPARE(channel(0)->text(), QStringLiteral("Channel 0"));
    }

    void allAndNoneLeaveTickMarks()
    {
        channel(16)->setChecked(true);
        click(4);
        for (int i = 0; i < channels; ++i)
            QVERIFY(channel(i)->isChecked());
        QVERIFY(channel(16)->isChecked());
        click(5);
        for (int i = 0; i < channels; ++i)
            QVERIFY(!channel(i)->isChecked());
        QVERIFY(channel(16)->isChecked());
        channel(16)->setChecked(false);
        click(4);
        QVERIFY(!channel(16)->isChecked());
    }

    void readCaptureChecksPrintedChannels()
    {
        std::array<bool, channels> printed{};
        printed[3] = true;
        QStringList lines = QString::fromLatin1(capture([](int s, int ch) { return ch == 3 ? s % 2 : 7; }))
                                .split("\r\n", Qt::SkipEmptyParts);
        Capture c = readCapture(lines, printed);
        QCOMPARE(c.problem, QString()); // channel 7's "7"s are not printed
        QCOMPARE(int(c.levels[3][0]), 0);
        QCOMPARE(int(c.levels[3][2047]), 1);
        QCOMPARE(int(c.levels[3][2048]), 1);

        lines[5 + 99] = "0,0,0,2";
        c = readCapture(lines, printed);
        QVERIFY2(c.problem.contains("line 105"), qPrintable(c.problem));
        lines[5 + 99] = "0,0,0"; // the field is missing
        QVERIFY(readCapture(lines, printed).problem.contains("line 105"));
        lines = lines.mid(0, 5 + 2047);
        c = readCapture(lines, printed);
        QVERIFY2(c.problem.contains("2052") && c.problem.contains("2053"), qPrintable(c.problem));
    }

    void rowsSitAtTheirPlaces()
    {
        const Levels v = levelsOf(low);
        const Chart c = buildChart(v, only({3, 9}));
        QCOMPARE(c.texts.size(), size_t(3));
        QCOMPARE(c.texts[0], (ChartText{1200, 1350, 12, "Channel 3"}));
        QCOMPARE(c.texts[1], (ChartText{1200, 1700, 12, "Channel 9"}));
        QCOMPARE(c.texts[2], (ChartText{1200, 625, 12, "head"}));
        // Always low: solid on y0, green dotted at the level never reached.
        for (int y0 : {1550, 1900}) {
            auto solid = linesWhere(c, [y0](const ChartLine& l) { return l.width == 3 && l.y1 == y0; });
            QCOMPARE(int(solid.size()), samples);
            QCOMPARE(solid.front().x1, 3000);
            QCOMPARE(solid.back().x2, 19384);
            auto dotted = linesWhere(c, [](const ChartLine& l) { return l.style == Qt::DotLine; });
            QVERIFY(std::count(dotted.begin(), dotted.end(),
                               ChartLine{3000, y0 - 150, 19384, y0 - 150, 1, Qt::DotLine, QColor(0, 128, 0)}) == 1);
        }
    }

    void levelsAndEdges()
    {
        // Channel 0 always high, channel 1 rising after sample 10 and
        // falling after sample 2047 never shows (the last sample repeats).
        const Levels v = levelsOf([](int s, int ch) { return ch == 0 ? 1 : (s > 10 && s < 2047 ? 1 : 0); });
        const Chart c = buildChart(v, only({0, 1}));
        const ChartLine dottedHigh{3000, 1550, 19384, 1550, 1, Qt::DotLine, QColor(0, 128, 0)};
        QVERIFY(std::count(c.lines.begin(), c.lines.end(), dottedHigh) == 1);
        QCOMPARE(int(linesWhere(c, [](const ChartLine& l) { return horizontal(l) && l.width == 3 && l.y1 == 1400; }).size()),
                 samples);
        // Row 1 never flat: no dotted line for it.
        QCOMPARE(int(linesWhere(c, [](const ChartLine& l) { return l.style == Qt::DotLine; }).size()), 1);
        const auto edges = linesWhere(c, vertical);
        QCOMPARE(int(edges.size()), 2);
        QCOMPARE(edges[0], (ChartLine{3000 + 8 * 11, 1900, 3000 + 8 * 11, 1750, 3, Qt::SolidLine, Qt::black}));
        QCOMPARE(edges[1], (ChartLine{3000 + 8 * 2047, 1750, 3000 + 8 * 2047, 1900, 3, Qt::SolidLine, Qt::black}));
    }

    void allSixteenRows()
    {
        Options o = only({});
        o.printed.fill(true);
        const Chart c = buildChart(levelsOf(low), o);
        int lowest = 0;
        for (const ChartLine& l : c.lines)
            lowest = std::max({lowest, l.y1, l.y2});
        QCOMPARE(lowest, 6800);
    }

    void noChannelGivesTheHeadingAlone()
    {
        const Chart c = buildChart(levelsOf(low), only({}));
        QVERIFY(c.lines.empty());
        QCOMPARE(c.texts.size(), size_t(1));
        QCOMPARE(c.texts[0].text, QStringLiteral("head"));
    }

    void tickMarks_data()
    {
        QTest::addColumn<QString>("tickfrequency");
        QTest::addColumn<QList<int>>("at");
        QTest::newRow("every 1000") << "1000" << QList<int>{0, 1000, 2000};
        QTest::newRow("2048 reaches the end") << "2048" << QList<int>{0, 2048};
        QTest::newRow("rounded 1023.6") << "1023.6" << QList<int>{0, 1024, 2048};
        QTest::newRow("beyond the page") << "5000" << QList<int>{0};
        QTest::newRow("negative") << "-100" << QList<int>{};
        QTest::newRow("pasted text") << "700 samples" << QList<int>{0, 700, 1400};
    }
    void tickMarks()
    {
        QFETCH(QString, tickfrequency);
        QFETCH(QList<int>, at);
        Options o = only({});
        o.ticks = true;
        o.tickfrequency = tickfrequency;
        QCOMPARE(optionsProblem(o), QString());
        const Chart c = buildChart(levelsOf(low), o);
        QList<int> got;
        for (const ChartLine& l : c.lines) {
            QCOMPARE(l.y1, 1250);
            QCOMPARE(l.y2, 1300);
            QCOMPARE(l.width, 1);
            QCOMPARE(l.x1, l.x2);
            got << (l.x1 - 3000) / 8;
        }
        QCOMPARE(got, at);
        QCOMPARE(c.texts.back().y, 850);
    }

    void tickAnnotation_data()
    {
        QTest::addColumn<QString>("tickfrequency");
        QTest::addColumn<QString>("resolution");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("text");
        QTest::newRow("ns") << "100" << "10" << 0 << "Tick frequency: 100 samples @ 10ns/sample = 1000ns";
        QTest::newRow("no resolution") << "100" << "" << 0 << "Tick frequency: 100 samples";
        QTest::newRow("us, fraction") << "50" << "0.5" << 1 << "Tick frequency: 50 samples @ 0.5us/sample = 25us";
        QTest::newRow("ms") << "8" << "2" << 2 << "Tick frequency: 8 samples @ 2ms/sample = 16ms";
        QTest::newRow("pasted text") << "100x" << " 10 ns" << 0 << "Tick frequency: 100 samples @ 10ns/sample = 1000ns";
        QTest::newRow("step as drawn") << "99.6" << "10" << 0 << "Tick frequency: 100 samples @ 10ns/sample = 1000ns";
    }
    void tickAnnotation()
    {
        QFETCH(QString, tickfrequency);
        QFETCH(QString, resolution);
        QFETCH(int, unit);
        QFETCH(QString, text);
        Options o = only({});
        o.ticks = true;
        o.tickfrequency = tickfrequency;
        o.resolution = resolution;
        o.unitIndex = unit;
        QCOMPARE(ant16::tickAnnotation(o), text);
    }

    void paintedChartPlacesTexts()
    {
        Options o = only({0});
        o.heading = "HEADING";
        const Chart c = buildChart(levelsOf([](int s, int) { return s >= 1024 ? 1 : 0; }), o);
        // A 1600 x 600 window of the page at full resolution, its top-left
        // corner at the given page point.
        auto paintAt = [&](int left, int top) {
            QImage img(1600, 600, QImage::Format_RGB32);
            img.fill(Qt::white);
            img.setDotsPerMeterX(qRound(dpi / 0.0254));
            img.setDotsPerMeterY(qRound(dpi / 0.0254));
            QPainter p(&img);
            p.translate(-left, -top);
            paintChart(p, c);
            return img;
        };
        auto dark = [](const QImage& img, int x, int y) { return qGray(img.pixel(x, y)) < 128; };
        // Around the rise at x 3000 + 8 * 1024 = 11192, between y 1400 and 1550.
        const QImage rise = paintAt(10400, 1200);
        QVERIFY(dark(rise, 600, 350));   // low before it, at y0 1550
        QVERIFY(!dark(rise, 600, 200));
        QVERIFY(dark(rise, 1100, 200));  // high after it, at 1400
        QVERIFY(!dark(rise, 1100, 350));
        QVERIFY(dark(rise, 792, 275));   // the edge itself
        QVERIFY(!dark(rise, 780, 275));
        // The heading's ink starts just below y 625, not above: texts hang
        // from their position.
        const QImage head = paintAt(1000, 400);
        int firstInk = -1;
        for (int y = 0; y < 600 && firstInk < 0; ++y)
            for (int x = 200; x < 1600; ++x)
                if (dark(head, x, y)) {
                    firstInk = y + 400;
                    break;
                }
        QVERIFY2(firstInk >= 625 && firstInk <= 680, qPrintable(QString::number(firstInk)));
    }

    void printWritesOnePagePdf()
    {
        // Print works on the work folder's ant16.csv before any Load.
        workCapture("ant16.csv", capture([](int s, int ch) { return (s / (ch + 1)) % 2; }));
        channel(0)->setChecked(true);
        channel(5)->setChecked(true);
        channel(16)->setChecked(true);
        const QString out = QDir::toNativeSeparators(folders->workFile("chart.pdf"));
        AlertSink sink;
        FileChoiceAnswer pick(out);
        click(3);
        QCOMPARE(pick.asked(), 1);
        const FileDialogRequest& r = pick.requests.at(0);
        QVERIFY(r.save);
        QCOMPARE(r.fileName, QStringLiteral("ant16.pdf"));
        QCOMPARE(QDir(r.initDir).canonicalPath(), QDir(worktemp()).canonicalPath());
        QVERIFY(r.flags & cdl::OverwritePrompt);
        QCOMPARE(sink.texts, QStringList());
        const QByteArray pdf = readFile(out);
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(pdfPages(pdf), 1);
        // 17 x 11 inches in points.
        QRegularExpression box("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]");
        const auto m = box.match(QString::fromLatin1(pdf));
        QVERIFY(m.hasMatch());
        QCOMPARE(qRound(m.captured(1).toDouble()), 17 * 72);
        QCOMPARE(qRound(m.captured(2).toDouble()), 11 * 72);
        QCOMPARE(pdfsInWork(), QStringList{"chart.pdf"}); // no scratch file left
    }

    void printRefusals()
    {
        const QString out = QDir::toNativeSeparators(folders->workFile("chart.pdf"));
        channel(1)->setChecked(true);
        // The file gone: a beep, no save box.
        {
            const int beeps = beepCount();
            FileChoiceAnswer pick(out);
            click(3);
            QCOMPARE(beepCount() - beeps, 1);
            QCOMPARE(pick.asked(), 0);
        }
        workCapture("ant16.csv", capture(low));
        // Cancel in the save box writes nothing.
        {
            FileChoiceAnswer pick = FileChoiceAnswer::cancel();
            click(3);
            QCOMPARE(pick.asked(), 1);
            QVERIFY(pdfsInWork().isEmpty());
        }
    }

    // A capture past the cap is refused with the cap named, on Load and on
    // Print: never a chart of its first part.
    void oversizedCaptureRefused()
    {
        QByteArray big = capture(low);
        big += QByteArray(64 * 1024 * 1024 + 1 - big.size(), '0');
        const QString path = workCapture("ant16.csv", big);
        {
            Alert alert;
            loadFile(path);
            QVERIFY(alert.answered());
            QVERIFY(alert.text().contains(path));
            QVERIFY(alert.text().contains("64 MiB"));
            QCOMPARE(ctl<QLineEdit>("Heading")->text(), QString());
        }
        channel(1)->setChecked(true);
        Alert alert;
        FileChoiceAnswer pick(QDir::toNativeSeparators(folders->workFile("chart.pdf")));
        click(3);
        QVERIFY(alert.answered());
        QVERIFY(alert.text().contains("64 MiB"));
        QCOMPARE(pick.asked(), 0);
        QVERIFY(pdfsInWork().isEmpty());
    }

    void printMends_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("tickfrequency");
        QTest::addColumn<QString>("says");
        QTest::newRow("short capture") << capture(low, 100) << "100" << "line 105";
        QTest::newRow("sample 2") << capture([](int s, int ch) { return s == 7 && ch == 1 ? 2 : 0; }) << "100"
                                  << "line 13";
        QTest::newRow("sample 256") << capture([](int s, int ch) { return s == 0 && ch == 1 ? 256 : 0; }) << "100"
                                    << "line 6";
        QTest::newRow("tick step rounds to 0") << capture(low) << "0.4" << "0.4";
        QTest::newRow("tick step empty") << capture(low) << "" << "tick frequency";
    }
    void printMends()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, tickfrequency);
        QFETCH(QString, says);
        const QString path = workCapture("ant16.csv", bytes);
        channel(1)->setChecked(true);
        channel(16)->setChecked(true);
        paste(ctl<QLineEdit>("tickfrequency"), tickfrequency);
        AlertSink sink;
        FileChoiceAnswer pick(folders->workFile("chart.pdf"));
        click(3);
        QCOMPARE(sink.texts.size(), 1);
        QVERIFY2(sink.texts[0].contains(says), qPrintable(sink.texts[0]));
        if (!says.startsWith("0") && says != "tick frequency")
            QVERIFY(sink.texts[0].contains(path));
        QCOMPARE(pick.asked(), 0);
        QVERIFY(pdfsInWork().isEmpty());
    }

    void unwritablePdfIsReported_data()
    {
        addOddFileRows();
    }
    void unwritablePdfIsReported()
    {
        QFETCH(OddFile, odd);
        workCapture("ant16.csv", capture(low));
        const QString out = folders->workFile("chart.pdf");
        makeOddFile(out, odd);
        channel(0)->setChecked(true);
        AlertSink sink;
        FileChoiceAnswer pick(out);
        click(3);
        QCOMPARE(sink.texts.size(), 1);
        QVERIFY(sink.texts[0].contains(out));
        QVERIFY(isOddFile(out, odd));
        // A folder that is not there.
        const QString nowhere = folders->workFile("gone/chart.pdf");
        pick.answer(nowhere);
        click(3);
        QCOMPARE(sink.texts.size(), 2);
        QVERIFY(sink.texts[1].contains(nowhere));
        QVERIFY(!QFileInfo::exists(nowhere));
    }

    void badCapturesNeverCrash_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray longLines = "AntProgramVersion," + QByteArray(200000, 'x') + "\r\nb\r\nc\r\nd\r\n\"n\"\r\n";
        for (int s = 0; s < samples; ++s)
            longLines += "1,0,1,0,1,0,1,0,1,0,1,0,1,0,1,0," + QByteArray(500, '9') + "\r\n";
        QByteArray wide = capture([](int s, int) { return s % 2; });
        wide.replace("\r\n", ",1,1,1,1,1,1,1,1,1,1,1,1,1\r\n");
        QByteArray noQuotes = capture(low, samples, "a,b,c,d,e,f,g,h,i,j,k,l,m,n,o,p,q,r,s");
        QByteArray binary(70000, '\0');
        for (int i = 0; i < binary.size(); ++i)
            binary[i] = char((i * 37) & 0xff);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("binary") << binary;
        QTest::newRow("binary after a header") << QByteArray("AntProgramVersion\r\n1\r\n2\r\n3\r\n4\r\n") + binary;
        QTest::newRow("long lines") << longLines;
        QTest::newRow("more than 16 fields") << wide;
        QTest::newRow("names without quotes") << noQuotes;
        QTest::newRow("lines cut short") << capture(low).replace(",0,0,0\r\n", "\r\n");
        QTest::newRow("CR only") << capture([](int s, int) { return s % 3 == 0; }).replace("\r\n", "\r");
    }
    void badCapturesNeverCrash()
    {
        QFETCH(QByteArray, bytes);
        const QString path = workCapture("bad.csv", bytes);
        click(4);
        channel(16)->setChecked(true);
        Alert alert;
        FileChoiceAnswer pick(path);
        click(0);
        QVERIFY(!alert.answered());
        pick.answer(folders->workFile("bad.pdf"));
        click(3); // prints the loaded file, or beeps for the missing default one
        const bool printed = QFileInfo::exists(folders->workFile("bad.pdf"));
        QCOMPARE(printed, !alert.answered() && window().filename() == path);
    }
};
VOLTARIS_TEST(TestAnt16Print);
#include "test_ant16print.moc"

#include "support/modal.h"
#include "support/filechoice.h"
#include "support/tempfolders.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "common/randomsource.h"
#include "utilities/contestlist.h"
#include "utilities/util_contestdrawing.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <set>

namespace {
Util_contestdrawing& window()
{
    return FormSlots::get<Util_contestdrawing>();
}

template <class W>
W* ctl(const QString& name)
{
    auto* w = window().form()->findChild<W*>(name);
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}

QLineEdit* wselects()
{
    return ctl<QLineEdit>("wselects");
}

QStringList boxLines(const char* name)
{
    QStringList lines = ctl<QPlainTextEdit>(name)->toPlainText().split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void draw(const QString& wanted)
{
    wselects()->setText(wanted);
    ctl<QPushButton>("Command2")->click();
}

// The positions of the winner lines shown.
std::vector<int> winners()
{
    std::vector<int> out;
    for (const QString& line : boxLines("winnerlist"))
        out.push_back(line.section(u' ', 0, 0).toInt());
    return out;
}
} // namespace

class TestContestDrawing : public QObject {
    Q_OBJECT
    std::unique_ptr<TempFolders> folders;

    void load(const QByteArray& bytes)
    {
        const QString path = QDir::toNativeSeparators(writeFile(folders->workFile("list.txt"), bytes));
        FileChoiceAnswer pick(path);
        ctl<QPushButton>("Command1")->click();
        QCOMPARE(pick.asked(), 1);
        QCOMPARE(pick.choosers.at(0).title, QStringLiteral("Select contestant file"));
        QCOMPARE(QDir(pick.choosers.at(0).folder), QDir(folders->work()));
        QCOMPARE(pick.choosers.at(0).mask, QStringLiteral("*.txt"));
    }

private Q_SLOTS:
    void init()
    {
        folders = std::make_unique<TempFolders>();
        popup("Util_contestdrawing");
        QVERIFY(window().isLoaded());
    }
    void cleanup()
    {
        window().unload();
        folders.reset();
    }

    void reading_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("shown");
        const QString pad(20, u' ');
        QTest::newRow("two words")
            << QByteArray("Ada Lovelace\r\nAlan Turing\r\n")
            << QStringList{"Ada" + pad + " " + "  Lovelace", "Alan" + pad + "  Turing"};
        QTest::newRow("blanks and further words")
            << QByteArray("   Grace    Hopper  USN\n\n   \nX\r")
            << QStringList{"Grace" + QString(19, u' ') + "  Hopper", "X" + QString(23, u' ') + "  "};
        QTest::newRow("long first word")
            << QByteArray("Abcdefghijklmnopqrstuvwxyz0123 second")
            << QStringList{"Abcdefghijklmnopqrstuvwx  second"};
        QTest::newRow("empty") << QByteArray() << QStringList{};
    }
    // Through the window: the list box shows each contestant's line.
    void reading()
    {
        QFETCH(QByteArray, bytes);
        load(bytes);
        QTEST(boxLines("ctext"), "shown");
    }

    void lines()
    {
        const Contestant c{QStringLiteral("Abcdefghijklmnopqrstuvwxyz0123"), QStringLiteral("B")};
        QCOMPARE(contestantLine(c), QStringLiteral("Abcdefghijklmnopqrstuvwx  B\r\n"));
        QCOMPARE(winnerLine(7, {QStringLiteral("A"), QString()}), "0007 A" + QString(23, u' ') + "  \r\n");
        QCOMPARE(winnerLine(12345, {QStringLiteral("A"), QStringLiteral("B")}).left(6), QStringLiteral("12345 "));
    }

    // Distinct winners from a partial shuffle: all positions, each once,
    // in every order the seeds give.
    void drawIsDistinct()
    {
        RandomSource random(7);
        std::set<std::vector<int>> orders;
        for (int i = 0; i < 200; ++i) {
            const std::vector<int> w = drawWinners(4, 4, random);
            QCOMPARE(std::set<int>(w.begin(), w.end()), std::set<int>({1, 2, 3, 4}));
            orders.insert(w);
        }
        QCOMPARE(int(orders.size()), 24);
        QCOMPARE(drawWinners(3, 9, random).size(), size_t(3));
        QVERIFY(drawWinners(0, 5, random).empty());
        QVERIFY(drawWinners(5, -1, random).empty());
    }

    // Before any list: the count becomes "0" and nothing is listed.
    void drawBeforeLoad()
    {
        ctl<QPlainTextEdit>("winnerlist")->setPlainText("stale");
        draw("1");
        QCOMPARE(wselects()->text(), QStringLiteral("0"));
        QCOMPARE(boxLines("winnerlist"), QStringList());
    }

    void drawAll_data()
    {
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("drawn");
        QTest::newRow("5 of 3") << "5" << "3" << 3;
        QTest::newRow("3 of 3") << "3" << "3" << 3;
        QTest::newRow("2 of 3") << "2" << "2" << 2;
        QTest::newRow("pasted huge") << "1e300" << "3" << 3;
        QTest::newRow("pasted letters") << "abc" << "abc" << 0;
        QTest::newRow("pasted negative") << "-4" << "-4" << 0;
    }
    void drawAll()
    {
        QFETCH(QString, wanted);
        QFETCH(int, drawn);
        load("Ann A\r\nBob B\r\nAnn A\r\n");
        draw(wanted);
        QTEST(wselects()->text(), "after");
        const std::vector<int> w = winners();
        QCOMPARE(int(w.size()), drawn);
        QCOMPARE(int(std::set<int>(w.begin(), w.end()).size()), drawn);
        const QStringList lines = boxLines("winnerlist");
        for (size_t k = 0; k < w.size(); ++k) {
            const QString name = w[k] == 2 ? QStringLiteral("Bob") : QStringLiteral("Ann");
            QCOMPARE(lines[qsizetype(k)], QStringLiteral("%1 ").arg(w[k], 4, 10, QChar('0')) + name
                                              + QString(21, u' ') + "  " + name.left(1));
        }
    }

    // Two draws in a row differ (no re-seed from the clock between them).
    void drawsDiffer()
    {
        QByteArray list;
        for (int i = 1; i <= 50; ++i)
            list += "Name" + QByteArray::number(i) + "\n";
        load(list);
        draw("10");
        const std::vector<int> first = winners();
        draw("10");
        QVERIFY(winners() != first);
    }

    // The winner count box: digits only; Enter or leaving it turns a count
    // of 0 into 1.
    void winnerCountBox()
    {
        QLineEdit* box = wselects();
        retype(box, "a0-.");
        QCOMPARE(box->text(), QStringLiteral("0"));
        pressEnter(box);
        QCOMPARE(box->text(), QStringLiteral("1"));
        retype(box, "12");
        pressEnter(box);
        QCOMPARE(box->text(), QStringLiteral("12"));
        retype(box, "0");
        leaveBox(box);
        QCOMPARE(box->text(), QStringLiteral("1"));
        giveFocus(box);
        paste(box, "");
        leaveBox(box);
        QCOMPARE(box->text(), QStringLiteral("1"));
    }

    // Thousands of contestants, no cap at 1,000 or 32,767, all drawn at once.
    void largeList()
    {
        QByteArray list;
        for (int i = 1; i <= 40000; ++i)
            list += "Contestant" + QByteArray::number(i) + " X\r\n";
        QElapsedTimer t;
        t.start();
        load(list);
        QCOMPARE(int(window().contestants().size()), 40000);
        draw("40000");
        const std::vector<int> w = winners();
        QCOMPARE(int(std::set<int>(w.begin(), w.end()).size()), 40000);
        QVERIFY2(t.elapsed() < 20000, qPrintable(QString::number(t.elapsed())));
        QVERIFY(boxLines("winnerlist").first().section(u' ', 1, 1).startsWith(QStringLiteral("Contestant")));
    }

    // A list past the cap is refused whole, with the cap named; the list
    // shown before stays.
    void oversizedList()
    {
        load("Alice A\r\nBob B\r\n");
        QCOMPARE(int(window().contestants().size()), 2);
        ModalAnswer alert("Command1_0");
        alert.setWindowName("Z_alert");
        load("Carol C\r\n" + QByteArray(16 * 1024 * 1024, 'w'));
        QTRY_VERIFY(alert.answered());
        QVERIFY(alert.text().contains("list.txt"));
        QVERIFY(alert.text().contains("16 MiB"));
        QCOMPARE(int(window().contestants().size()), 2);
    }

    // Files that are no list: loaded as far as they hold words, never a crash.
    void oddFiles()
    {
        QByteArray binary;
        for (int i = 0; i < 4096; ++i)
            binary += char(i * 37 % 256);
        load(binary);
        QVERIFY(!window().contestants().empty());
        load(QByteArray(2 * 1024 * 1024, 'w') + " second\nnext line\n");
        QCOMPARE(int(window().contestants().size()), 2);
        QCOMPARE(window().contestants()[0].first.size(), 2 * 1024 * 1024);
        QCOMPARE(boxLines("ctext").at(0), QString(24, u'w') + "  second");
        draw("2");
        QCOMPARE(winners().size(), size_t(2));
        // A folder chosen in place of a file keeps the list.
        FileChoiceAnswer pick(QDir::toNativeSeparators(folders->work()));
        ctl<QPushButton>("Command1")->click();
        QCOMPARE(int(window().contestants().size()), 2);
    }
};

VOLTARIS_TEST(TestContestDrawing);
#include "test_contestdrawing.moc"

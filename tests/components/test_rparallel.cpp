#include "support/testmain.h"

#include "components/rlc_rparallelr.h"
#include "components/rparallel.h"
#include "common/numtext.h"
#include "common/stdseries.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <cmath>
#include <map>
#include <set>

namespace {
std::vector<float> series(int s)
{
    std::vector<float> v(1001);
    stdseries(int16_t(s), v);
    return v;
}

// Every unordered pair (lower index first) and every single value within
// the tolerance, found the slow and obvious way.
std::multiset<std::pair<int, int>> bruteForce(const std::vector<float>& v, double target, double tol)
{
    std::multiset<std::pair<int, int>> out;
    const int n = int(v[0]);
    for (int a = 1; a <= n; ++a) {
        if (std::fabs(v[size_t(a)] / target - 1) <= tol + 1e-12)
            out.insert({a, n + 1});
        for (int b = a; b <= n; ++b) {
            const double r = double(v[size_t(a)]) * v[size_t(b)] / (double(v[size_t(a)]) + v[size_t(b)]);
            if (std::fabs(r / target - 1) <= tol + 1e-12)
                out.insert({a, b});
        }
    }
    return out;
}

struct Line {
    QString r1, r2;
    double error;
};
} // namespace

class TestRparallel : public QObject {
    Q_OBJECT
    RLC_rparallelr& w() { return FormSlots::get<RLC_rparallelr>(); }
    template <class T>
    T* control(const char* name) { return w().form()->findChild<T*>(name); }

    // Runs a search through the window's controls; returns the report's lines
    // after the header and the rule.
    QList<Line> search(const QString& target, const QString& tol, int set = 0, bool sort = false)
    {
        control<QLineEdit>("rtarget")->setText(target);
        control<QLineEdit>("searchlimit")->setText(tol);
        control<QComboBox>("resistorset")->setCurrentIndex(set);
        control<QCheckBox>("sortresults")->setChecked(sort);
        QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
        const QStringList lines = control<QTextEdit>("resultlist")->toPlainText().split(u'\n');
        if (lines.size() < 2 || lines[0] != "  R1-Ohms  R2-Ohms      Error-%" || lines[1] != QString(38, u'-'))
            qWarning("bad report head");
        QList<Line> out;
        for (const QString& l : lines.mid(2)) {
            if (l.isEmpty())
                continue;
            if (l.size() != 31)
                qWarning("bad report line \"%s\"", qPrintable(l));
            out.append({l.left(9), l.mid(9, 9), l.mid(18).toDouble()});
        }
        return out;
    }

private Q_SLOTS:
    void init()
    {
        popup(QStringLiteral("RLC_rparr"));
        QVERIFY(w().visible());
    }
    void cleanup() { w().unload(); }

    void opening()
    {
        QCOMPARE(w().caption(), QString("Parallel Resistor Computer"));
        QCOMPARE(control<QComboBox>("resistorset")->currentText(), QString("1% Standard"));
        QCOMPARE(control<QLabel>("status")->text(), QString("Done"));
        auto* report = control<QTextEdit>("resultlist");
        QVERIFY(report->isReadOnly());
        QCOMPARE(report->lineWrapMode(), QTextEdit::NoWrap);
        QVERIFY(QFontInfo(report->font()).fixedPitch());
    }

    void reportLayout()
    {
        const std::vector<float> v = series(1);
        // 0.10 (index 1) alone, 22 M (index 201) with 0.10, a negative error
        const QString report = parallelReport(v, {{1, 202, 0}, {1, 201, -0.123456789}, {201, 201, 0.5}});
        QCOMPARE(report, QString("  R1-Ohms  R2-Ohms      Error-%\r\n"
                                 "--------------------------------------\r\n"
                                 "       .1   -Open-      0.00000\r\n"
                                 "       .1  2.2E+07    -12.34568\r\n"
                                 "  2.2E+07  2.2E+07     50.00000\r\n"));
    }

    void defaults()
    {
        QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
        const QStringList lines = control<QTextEdit>("resultlist")->toPlainText().split(u'\n');
        QVERIFY(lines.contains("     1000   -Open-      0.00000"));
        QVERIFY(lines.contains("     2000     2000      0.00000"));
        QCOMPARE(control<QLineEdit>("sprogress")->text(), QString::number(lines.count() - 2 - lines.count("")));
        QCOMPARE(control<QLabel>("status")->text(), QString("Done"));
    }

    void inputsRewritten_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("tol");
        QTest::addColumn<QString>("targetAfter");
        QTest::addColumn<QString>("tolAfter");
        QTest::addColumn<double>("targetValue");
        QTest::addColumn<double>("tolValue");
        QTest::newRow("too wide") << "1000" << "25" << "1000" << "10" << 1000.0 << 0.1;
        QTest::newRow("negative tolerance") << "1000" << "-1" << "1000" << "10" << 1000.0 << 0.1;
        QTest::newRow("garbage tolerance") << "1000" << "abc" << "1000" << "abc" << 1000.0 << 0.0;
        QTest::newRow("zero target") << "0" << "1" << "1000" << "1" << 1000.0 << 0.01;
        QTest::newRow("empty target") << "" << "1" << "1000" << "1" << 1000.0 << 0.01;
        QTest::newRow("letters") << "abc" << "1" << "1000" << "1" << 1000.0 << 0.01;
        QTest::newRow("negative target") << "-5" << "1" << "1000" << "1" << 1000.0 << 0.01;
        QTest::newRow("leading number") << "1k" << "2.5%" << "1k" << "2.5%" << 1.0 << 0.025;
    }
    void inputsRewritten()
    {
        QFETCH(QString, target);
        QFETCH(QString, tol);
        const SearchInputs in = searchInputs(target, tol);
        QTEST(in.targetText, "targetAfter");
        QTEST(in.toleranceText, "tolAfter");
        QTEST(in.target, "targetValue");
        QTEST(in.tolerance, "tolValue");
        // the window shows the same rewriting
        search(target, tol);
        QTEST(control<QLineEdit>("rtarget")->text(), "targetAfter");
        QTEST(control<QLineEdit>("searchlimit")->text(), "tolAfter");
    }

    void exactOnly()
    {
        const std::vector<float> v = series(0);
        const QList<Line> lines = search("1000", "0");
        QCOMPARE(qsizetype(lines.size()), qsizetype(bruteForce(v, 1000, 0).size()));
        QStringList networks;
        for (const Line& l : lines) {
            QCOMPARE(l.error, 0.0);
            networks << (l.r1 + l.r2).simplified();
        }
        QCOMPARE(networks, QStringList({"1000 -Open-", "1050 21000", "1100 11000", "2000 2000"}));
        // garbage reads as no tolerance at all
        QCOMPARE(search("1000", "x").size(), lines.size());
    }

    void order()
    {
        QList<Line> lines = search("470", "2");
        bool pairs = false;
        for (const Line& l : lines) {
            const bool single = l.r2 == "   -Open-";
            QVERIFY2(!(single && pairs), "a single after a pair");
            pairs = pairs || !single;
        }
        QVERIFY(pairs);
        // sorted: |e| never decreases; distinct |e| strictly increase
        lines = search("470", "2", 0, true);
        for (int k = 1; k < lines.size(); ++k)
            QVERIFY(std::fabs(lines[k].error) >= std::fabs(lines[k - 1].error));
        // no network under both orders, lower value first
        std::set<std::pair<double, double>> seen;
        for (const Line& l : lines) {
            if (l.r2 == "   -Open-")
                continue;
            const double a = l.r1.toDouble(), b = l.r2.toDouble();
            QVERIFY(a <= b);
            QVERIFY(seen.insert({a, b}).second);
        }
    }

    void sortIsStable()
    {
        std::vector<ParallelHit> hits = {{1, 2, 0.02}, {3, 4, -0.01}, {5, 6, 0.01}, {7, 8, 0}, {9, 10, -0.02}};
        sortByError(hits);
        QList<int> order;
        for (const ParallelHit& h : hits)
            order << h.first;
        QCOMPARE(order, QList<int>({7, 3, 5, 1, 9}));
    }

    // Every network within tolerance is listed exactly once, wide searches
    // included (where a skipped row would lose pairs such as 2000 || 2000).
    void noNetworkLost_data()
    {
        QTest::addColumn<int>("set");
        QTest::addColumn<double>("target");
        QTest::addColumn<double>("tol");
        QTest::newRow("1000 at 10 %") << 0 << 1000.0 << 0.10;
        QTest::newRow("4700 at 1 %") << 0 << 4700.0 << 0.01;
        QTest::newRow("33 at 5 %, 5 % series") << 1 << 33.0 << 0.05;
        QTest::newRow("1M at 10 %, 5 % series") << 1 << 1e6 << 0.10;
    }
    void noNetworkLost()
    {
        QFETCH(int, set);
        QFETCH(double, target);
        QFETCH(double, tol);
        const std::vector<float> v = series(set);
        std::multiset<std::pair<int, int>> found;
        for (const ParallelHit& h : findNetworks(v, target, tol))
            found.insert({h.first, h.second});
        QCOMPARE(found, bruteForce(v, target, tol));
    }

    void wideSearchThroughWindow()
    {
        const QList<Line> lines = search("1000", "10");
        // the report lists every network of the brute force exactly once
        const std::vector<float> v = series(0);
        std::multiset<QString> listed, expected;
        for (const Line& l : lines)
            listed.insert((l.r1 + l.r2).simplified());
        for (const auto& [a, b] : bruteForce(v, 1000, 0.10))
            expected.insert((singlestr(v[size_t(a)]) + (b > 576 ? " -Open-" : singlestr(v[size_t(b)]))).simplified());
        QVERIFY(listed == expected);
        int twoK = 0, edge = 0;
        for (const Line& l : lines) {
            twoK += l.r1 == "     2000" && l.r2 == "     2000";
            // exactly 10 % above the target is within 10 %
            edge += l.r1 == "     1100" && l.r2 == "   -Open-" && l.error == 10.0;
        }
        QCOMPARE(twoK, 1);
        QCOMPARE(edge, 1);
        QCOMPARE(control<QLineEdit>("sprogress")->text(), QString::number(lines.size()));
    }

    void noFixedLimit()
    {
        // far more than 10000 hits: every single value and every pair
        const std::vector<float> v = series(0);
        const std::vector<ParallelHit> hits = findNetworks(v, 1000, 1e9);
        QCOMPARE(hits.size(), size_t(576 + 576 * 577 / 2));
    }

    void busyWhileSearching()
    {
        bool disabled = false, waiting = false;
        QStringList progress;
        QTimer probe;
        connect(&probe, &QTimer::timeout, [&] {
            disabled = disabled || !control<QPushButton>("Command1")->isEnabled();
            waiting = waiting || control<QLabel>("status")->text() == "Wait...";
            progress << control<QLineEdit>("sprogress")->text();
            // a second click while busy starts nothing
            control<QPushButton>("Command1")->click();
        });
        probe.start(0);
        search("1000", "5");
        probe.stop();
        QVERIFY(disabled);
        QVERIFY(waiting);
        progress.removeDuplicates();
        QVERIFY(progress.size() > 3);
        QVERIFY(control<QPushButton>("Command1")->isEnabled());
    }

    void closeDuringSearch()
    {
        int rows = 0;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] {
            if (++rows == 20)
                w().unload();
        });
        closer.start(0);
        control<QLineEdit>("searchlimit")->setText("10");
        QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
        closer.stop();
        QVERIFY(!w().isLoaded());
        // it opens again, ready to search
        popup(QStringLiteral("RLC_rparr"));
        QVERIFY(control<QPushButton>("Command1")->isEnabled());
        QCOMPARE(qsizetype(search("1000", "0").size()), qsizetype(bruteForce(series(0), 1000, 0).size()));
    }
};

VOLTARIS_TEST(TestRparallel);
#include "test_rparallel.moc"

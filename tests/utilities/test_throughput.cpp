#include "support/alertsink.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "common/clock.h"
#include "common/verror.h"
#include "utilities/throughput.h"
#include "utilities/util_throughput.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace {
Util_throughput& window()
{
    return FormSlots::get<Util_throughput>();
}

QLineEdit* box(const char* name)
{
    return boxNamed(window(), QString::fromLatin1(name));
}

// A clock whose time moves on by a fixed step each time it is read.
class SteppingClock : public Clock {
public:
    SteppingClock(QTime start, int stepMs) : m_now(QDate(2024, 5, 1), start), m_step(stepMs) {}
    QDateTime now() const override
    {
        const QDateTime t = m_now;
        m_now = m_now.addMSecs(m_step);
        return t;
    }

private:
    mutable QDateTime m_now;
    int m_step;
};
} // namespace

class TestThroughput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        popup("Util_throughput");
        QVERIFY(window().isLoaded());
    }
    void cleanup() { window().unload(); }

    void singleTexts_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("midnight") << 0.0 << "0";
        QTest::newRow("half") << 0.5 << "0.5";
        QTest::newRow("afternoon") << 45296.13 << "45296.13";
        QTest::newRow("single precision") << 86399.999 << "86400";
        QTest::newRow("one ms") << 61.001 << "61.001";
    }
    void singleTexts()
    {
        QFETCH(double, seconds);
        QTEST(singleText(seconds), "text");
    }

    void results_data()
    {
        QTest::addColumn<int>("passes");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("stop");
        QTest::addColumn<QString>("calc");
        QTest::newRow("whole") << 100000 << "100" << "102" << " 50000";
        QTest::newRow("rounded down") << 1000 << "3600.5" << "3603.5" << " 333";
        QTest::newRow("fraction of a second") << 7 << "10.25" << "10.5" << " 28";
        QTest::newRow("no time") << 0 << "500" << "500" << "";
        QTest::newRow("midnight") << 1000 << "86399.5" << "0.5" << "";
    }
    void results()
    {
        QFETCH(int, passes);
        QFETCH(QString, start);
        QFETCH(QString, stop);
        QTEST(throughputResult(passes, start, stop), "calc");
    }

    void passCounts()
    {
        QCOMPARE(passCount(2.5), 2);
        QCOMPARE(passCount(3.5), 4);
        QCOMPARE(passCount(-7.2), -7);
        QCOMPARE(passCount(2147483647.0), 2147483647);
        QVERIFY_THROWS_EXCEPTION(VError, passCount(2147483648.0));
        QVERIFY_THROWS_EXCEPTION(VError, passCount(-1e300));
    }

    void runs_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QTime>("start");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("starttime");
        QTest::addColumn<QString>("stoptime");
        QTest::addColumn<QString>("calc");
        // The clock moves 250 ms each time it is read: the start and the stop.
        QTest::newRow("1000") << "1000" << QTime(10, 0) << 1000 << "36000" << "36000.25" << " 4000";
        QTest::newRow("N 0") << "0" << QTime(10, 0) << 0 << "36000" << "36000.25" << " 0";
        QTest::newRow("negative") << "-5" << QTime(10, 0) << -5 << "36000" << "36000.25" << "-20";
        QTest::newRow("across midnight") << "99" << QTime(23, 59, 59, 900) << 99 << "86399.9" << "0.15" << "";
        QTest::newRow("rounded entry") << "9.5" << QTime(1, 0) << 10 << "3600" << "3600.25" << " 40";
        QTest::newRow("pasted text") << "abc" << QTime(1, 0) << 0 << "3600" << "3600.25" << " 0";
    }
    // The countdown shows every pass, N down to 0; afterwards countr holds N
    // again and calc is worked out from the two shown times.
    void runs()
    {
        QFETCH(QString, typed);
        QFETCH(QTime, start);
        QFETCH(int, n);
        SteppingClock clock(start, 250);
        ClockOverride use(clock);
        box("countr")->setText(typed);
        QStringList seen;
        connect(box("countr"), &QLineEdit::textChanged, this, [&](const QString& t) { seen << t; });
        window().form()->findChild<QPushButton*>("startbutton")->click();

        QStringList shown{typed};
        for (int k = n; k >= 0; --k)
            shown << QString::number(k);
        shown << QString::number(n);
        shown.erase(std::unique(shown.begin(), shown.end()), shown.end());
        shown.removeFirst();
        QCOMPARE(seen, shown);
        QCOMPARE(box("countr")->text(), QString::number(n));
        QTEST(box("starttime")->text(), "starttime");
        QTEST(box("stoptime")->text(), "stoptime");
        QTEST(box("calc")->text(), "calc");
    }

    // A second "Start" while counting is ignored; closing the window ends
    // the count cleanly.
    void busyAndClose()
    {
        auto* start = window().form()->findChild<QPushButton*>("startbutton");
        box("countr")->setText("100000000");
        int seen = 0;
        QTimer poke;
        connect(&poke, &QTimer::timeout, this, [&] {
            ++seen;
            if (seen == 3) {
                QVERIFY(window().running());
                start->click(); // nested press: must not start a second count
                QVERIFY(box("countr")->text().toInt() < 100000000);
            } else if (seen == 6) {
                window().unload();
            }
        });
        poke.start(5);
        start->click();
        poke.stop();
        QVERIFY(seen >= 6);
        QVERIFY(!window().running());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!window().isLoaded());
        // Opened again, it counts as before.
        popup("Util_throughput");
        box("countr")->setText("3");
        window().form()->findChild<QPushButton*>("startbutton")->click();
        QCOMPARE(box("countr")->text(), QStringLiteral("3"));
        QVERIFY(!window().running());
    }

    // A count beyond 32 bits is refused with the overflow alert, no count.
    void hugeCount()
    {
        box("countr")->setText("1e20");
        box("calc")->setText(" 12");
        AlertSink alerts;
        window().form()->findChild<QPushButton*>("startbutton")->click();
        QCOMPARE(alerts.titles.size(), 1);
        QCOMPARE(box("countr")->text(), QStringLiteral("1e20"));
        QCOMPARE(box("calc")->text(), QStringLiteral(" 12"));
        QVERIFY(!window().running());
    }
};

VOLTARIS_TEST(TestThroughput);
#include "test_throughput.moc"

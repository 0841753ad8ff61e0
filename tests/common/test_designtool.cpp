#include "support/testmain.h"
#include "support/typing.h"

#include "common/designtool.h"
#include "common/formbuilder.h"
#include "common/numtext.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

// A calculator of one quotient: box 2 = box 0 / box 1.
class Probe_design : public DesignTool {
    Q_OBJECT
public:
    Probe_design() : DesignTool("Probe_design", QSize(5000, 2000), probeRules()) {}
    std::vector<int> calls;

    static Rules probeRules()
    {
        Rules r;
        r.change = true;
        r.keyUp = true;
        r.selectOnFocus = true;
        return r;
    }

protected:
    void build(QWidget* form) override
    {
        form->setWindowTitle("Probe");
        addBoxes(form,
                 {{0, "Top", "Volts", "6.000", Kind::Decimal, "0.000", "the top"},
                  {1, "Bottom", "Turns", "2", Kind::Whole, "0"},
                  {},
                  {2, "Ratio", "", "0.000", Kind::Result, "0.000"}},
                 Grid{});
    }
    void recalc(int which) override
    {
        calls.push_back(which);
        const double d = value(1);
        if (d == 0)
            setText(2, "---");
        else
            put(2, value(0) / d, "0.000");
    }
};

class TestDesignTool : public QObject {
    Q_OBJECT
    Probe_design& w() { return FormSlots::get<Probe_design>(); }
    QLineEdit* box(int i) { return boxNamed(w(), arrayName("spec", i)); }

private Q_SLOTS:
    void init()
    {
        w().load();
        w().show();
        w().calls.clear();
    }
    void cleanup() { w().unload(); }

    void layoutAndOpening()
    {
        w().unload();
        w().load();
        QCOMPARE(w().calls, std::vector<int>{-1});
        QCOMPARE(box(2)->text(), QString("3.000"));
        QVERIFY(box(2)->isReadOnly());
        QVERIFY(!box(0)->isReadOnly());
        QCOMPARE(box(2)->palette().color(QPalette::Base), QColor(192, 255, 255));
        QCOMPARE(box(0)->palette().color(QPalette::Base), box(1)->palette().color(QPalette::Base));
        auto* cap = w().form()->findChild<QLabel*>("Label1_0");
        QVERIFY(cap);
        QCOMPARE(cap->text(), QString("Top"));
        QCOMPARE(cap->toolTip(), QString("the top"));
        QCOMPARE(w().form()->findChild<QLabel*>("Label1_1")->text(), QString("Volts"));
        // the empty row leaves a gap
        QVERIFY(box(2)->y() - box(1)->y() > box(1)->y() - box(0)->y());
    }

    void keyFilter_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::newRow("decimal digits and point") << 0 << "12.5" << "12.5";
        QTest::newRow("decimal refuses sign, exponent, blank, letters") << 0 << "-1e 2k,x" << "12";
        QTest::newRow("whole refuses point") << 1 << "4.5" << "45";
        QTest::newRow("backspace passes") << 0 << "123\b" << "12";
    }
    void keyFilter()
    {
        QFETCH(int, index);
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QLineEdit* b = box(index);
        giveFocus(b);
        b->clear();
        for (QChar c : keys) {
            if (c == u'\b')
                QTest::keyClick(b, Qt::Key_Backspace);
            else
                QTest::keyClicks(b, QString(c));
        }
        QCOMPARE(b->text(), text);
    }

    void resultBoxTakesNoKeys()
    {
        typeInto(box(2), "77");
        QCOMPARE(box(2)->text(), QString("3.000"));
    }

    void selectOnFocusReplaces()
    {
        giveFocus(box(0));
        QCOMPARE(box(0)->selectedText(), QString("6.000"));
        QTest::keyClicks(box(0), "9");
        QCOMPARE(box(0)->text(), QString("9"));
        QCOMPARE(box(2)->text(), QString("4.500"));
    }

    void enterReformatsAndRecalcs()
    {
        retype(box(0), "5");
        w().calls.clear();
        pressEnter(box(0));
        QCOMPARE(box(0)->text(), QString("5.000"));
        QVERIFY(!w().calls.empty());
        QCOMPARE(w().calls.front(), 0); // the change of the re-format
        QCOMPARE(box(2)->text(), QString("2.500"));
    }

    void leaveReformats()
    {
        retype(box(1), "4");
        leaveBox(box(1));
        QCOMPARE(box(1)->text(), QString("4"));
        giveFocus(box(0));
        QTest::keyClick(box(0), Qt::Key_Backspace);
        QCOMPARE(box(0)->text(), QString());
        leaveBox(box(0));
        QCOMPARE(box(0)->text(), QString("0.000"));
    }

    // A key: one recalc from the text change, one from the key release;
    // the result written inside recalc starts none.
    void changeDoesNotRecurse()
    {
        giveFocus(box(0));
        w().calls.clear();
        QTest::keyClicks(box(0), "8");
        QCOMPARE(w().calls, (std::vector<int>{0, -1}));
        QCOMPARE(box(2)->text(), QString("4.000"));
    }

    void pastedText_data()
    {
        QTest::addColumn<QString>("top");
        QTest::addColumn<QString>("bottom");
        QTest::addColumn<QString>("ratio");
        QTest::newRow("negative") << "-6" << "2" << "-3.000";
        QTest::newRow("trailing letters") << "12abc" << "2" << "6.000";
        QTest::newRow("garbage") << "abc" << "2" << "0.000";
        QTest::newRow("empty divisor") << "6" << "" << "---";
        QTest::newRow("garbage divisor") << "6" << "x" << "---";
        QTest::newRow("overflow") << "1e308" << "1e-300" << "---";
    }
    void pastedText()
    {
        QFETCH(QString, top);
        QFETCH(QString, bottom);
        QFETCH(QString, ratio);
        paste(box(0), top);
        paste(box(1), bottom);
        QCOMPARE(box(2)->text(), ratio);
    }

    void general_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 50.0 << "50";
        QTest::newRow("fraction") << 12.25 << "12.25";
        QTest::newRow("negative") << -2.5 << "-2.5";
        QTest::newRow("nan") << std::nan("") << "---";
    }
    void general()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(DesignTool::general(value), text);
    }
};

VOLTARIS_TEST(TestDesignTool);
#include "test_designtool.moc"

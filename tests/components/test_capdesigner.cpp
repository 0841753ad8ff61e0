#include "support/testmain.h"
#include "support/typing.h"

#include "common/refdata.h"
#include "components/rlc_capdesigner.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>

namespace {
// The pixels a line edit has for its text: its contents less the text
// margins and the two pixels QLineEdit keeps clear on either side.
int usableWidth(const QLineEdit* edit)
{
    QStyleOptionFrame opt;
    opt.initFrom(edit);
    opt.rect = edit->rect();
    opt.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, edit) : 0;
    opt.midLineWidth = 0;
    opt.state |= QStyle::State_Sunken;
    const QRect contents = edit->style()->subElementRect(QStyle::SE_LineEditContents, &opt, edit);
    const QMargins m = edit->textMargins();
    return contents.width() - m.left() - m.right() - 4;
}
} // namespace

class TestCapDesigner : public QObject {
    Q_OBJECT
    RLC_capdesigner& w() { return FormSlots::get<RLC_capdesigner>(); }
    template <class T>
    T* ctl(const QString& name) { return w().form()->findChild<T*>(name); }
    QLineEdit* spec(int i) { return boxNamed(w(), QStringLiteral("spec_%1").arg(i)); }
    QString text(const QString& name) { return ctl<QLineEdit>(name)->text(); }
    QString pf() { return text("capacitance_3"); }
    void chooseMaterial(int index) { ctl<QComboBox>("material")->setCurrentIndex(index); }

private Q_SLOTS:
    void init()
    {
        popup(QStringLiteral("RLC_capdesigner"));
        QVERIFY(w().visible());
    }
    void cleanup() { w().unload(); }

    // Every material's K and strength, ranges included, show whole in
    // their boxes.
    void dielectricTextsFit()
    {
        auto* list = ctl<QComboBox>("material");
        QVERIFY(list->count() > 1);
        for (int i = 0; i < list->count(); ++i) {
            chooseMaterial(i);
            for (const char* name : {"dconstant", "dstrength"}) {
                QLineEdit* b = ctl<QLineEdit>(name);
                const int need = b->fontMetrics().horizontalAdvance(b->text());
                QVERIFY2(need <= usableWidth(b),
                         qPrintable(QStringLiteral("%1 of %2: \"%3\" needs %4 px, has %5")
                                        .arg(name, list->itemText(i), b->text())
                                        .arg(need)
                                        .arg(usableWidth(b))));
            }
        }
    }

    void defaults()
    {
        QCOMPARE(w().caption(), QString("Capacitor Designer"));
        QCOMPARE(ctl<QComboBox>("material")->currentText(), QString("Glass-Float"));
        QCOMPARE(text("area"), QString("144.0000"));
        QCOMPARE(text("stackup"), QString("0.0120"));
        const QStringList caps{"0.0000", "0.0130", "12.9542", "12954.2400"};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(text(QStringLiteral("capacitance_%1").arg(i)), caps[i]);
        QCOMPARE(text("bvolts"), QString("3000.0000"));
        QCOMPARE(spec(6)->text(), QString("3000.0000"));
        QCOMPARE(text("energy"), QString("0.0583"));
        QVERIFY(ctl<QLineEdit>("dconstant")->isReadOnly());
    }

    void variations()
    {
        ctl<QCheckBox>("rolled")->setChecked(true);
        QCOMPARE(spec(3)->text(), QString("1.6666"));
        QCOMPARE(pf(), QString("21589.5364"));
        ctl<QCheckBox>("rolled")->setChecked(false);
        retype(spec(4), "3");
        QCOMPARE(pf(), QString("38862.7200"));
        QCOMPARE(text("stackup"), QString("0.0340"));
    }

    void layersAreWhole()
    {
        retype(spec(4), "2.7");
        pressEnter(spec(4));
        QCOMPARE(spec(4)->text(), QString("2.0000"));
        QCOMPARE(pf(), QString("25908.4800"));
        retype(spec(4), "2.7");
        leaveBox(spec(4));
        QCOMPARE(spec(4)->text(), QString("2.7000"));
        QCOMPARE(pf(), QString("25908.4800"));
    }

    void ownMaterial()
    {
        chooseMaterial(0);
        auto* k = ctl<QLineEdit>("dconstant");
        auto* s = ctl<QLineEdit>("dstrength");
        QCOMPARE(k->text(), QString("1.0000"));
        QCOMPARE(s->text(), QString("1.0000"));
        QVERIFY(!k->isReadOnly() && !s->isReadOnly());
        retype(k, "8");
        pressEnter(k);
        QCOMPARE(k->text(), QString("8.0000"));
        QCOMPARE(pf(), QString("25908.4800"));
        retype(s, "100x");
        leaveBox(s);
        QCOMPARE(s->text(), QString("100.0000"));
        QCOMPARE(text("bvolts"), QString("1000.0000"));
        // a table material locks the boxes and shows the table's texts
        chooseMaterial(ctl<QComboBox>("material")->findText("Bakelite"));
        QVERIFY(k->isReadOnly());
        QCOMPARE(k->text(), dielectric("k", "Bakelite"));
        retype(k, "5");
        QCOMPARE(k->text(), dielectric("k", "Bakelite"));
        // the own values are kept while the window lives
        chooseMaterial(0);
        QCOMPARE(k->text(), QString("8.0000"));
        QCOMPARE(s->text(), QString("100.0000"));
    }

    void rangeAndUnspecified()
    {
        auto* list = ctl<QComboBox>("material");
        list->setCurrentIndex(list->findText("Acrylic")); // "2.800 to 4.000", "450 to 1520"
        QCOMPARE(text("bvolts"), QString("4500.0000"));
        QCOMPARE(text("capacitance_3"), QString("9067.9680"));
        list->setCurrentIndex(list->findText("Air 100atm")); // strength 0
        QCOMPARE(text("dstrength"), QString("Not Specified"));
        QCOMPARE(text("bvolts"), QString("Not Specified"));
        QCOMPARE(spec(6)->text(), QString("0.0000"));
        QCOMPARE(text("energy"), QString("0.0000"));
    }

    void separation()
    {
        paste(spec(2), "-1");
        for (const char* n : {"capacitance_0", "capacitance_3", "bvolts", "energy"})
            QCOMPARE(text(n), QString("Error"));
        QVERIFY(spec(2)->hasFocus());
        retype(spec(2), "0");
        leaveBox(spec(2));
        QCOMPARE(spec(2)->text(), QString("0.0001"));
        QCOMPARE(text("bvolts"), QString("30.0000"));
    }

    void labelDoubleClickCopiesVoltageMax()
    {
        ctl<QCheckBox>("usemax")->setChecked(false);
        retype(spec(6), "10");
        QCOMPARE(text("energy"), QString("0.0000"));
        QTest::mouseDClick(ctl<QLabel>("Label1_0"), Qt::LeftButton);
        QCOMPARE(spec(6)->text(), QString("3000"));
        QCOMPARE(text("energy"), QString("0.0583"));
    }

    void badInput()
    {
        retype(spec(0), "1e-2x");
        QCOMPARE(spec(0)->text(), QString("12"));
        paste(spec(1), QString(400, u'9'));
        for (const char* n : {"area", "capacitance_0", "energy"})
            QVERIFY2(!text(n).contains("nan", Qt::CaseInsensitive) && !text(n).contains("inf", Qt::CaseInsensitive),
                     qPrintable(text(n)));
        auto* list = ctl<QComboBox>("material");
        giveFocus(list);
        QTest::keyClicks(list, "a");
        QCOMPARE(list->currentText(), QString("Glass-Float"));
    }

    // Text an input method hands a box (a dead key and a letter, a compose
    // sequence) passes the box's key filter as typed keys do.
    void inputMethodText()
    {
        QLineEdit* length = spec(0);
        giveFocus(length);
        length->end(false);
        commitInputText(length, "^", QStringLiteral("\u00EA\u00E9\u00E1"));
        QCOMPARE(length->text(), QString("12.0000"));
        length->selectAll();
        commitInputText(length, QString(), QStringLiteral("2e.5x\u00B4"));
        QCOMPARE(length->text(), QString("2.5"));
        QCOMPARE(text("area"), QString("30.0000"));
    }
};

VOLTARIS_TEST(TestCapDesigner);
#include "test_capdesigner.moc"

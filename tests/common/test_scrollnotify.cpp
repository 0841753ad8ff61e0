#include "support/testmain.h"
#include "support/typing.h"

#include "common/formbuilder.h"
#include "common/scrollnotify.h"
#include "common/toolwindow.h"

#include <QScrollBar>
#include <QSlider>
#include <QTest>

namespace {
class ScrollHost : public ToolWindow {
public:
    ScrollHost()
        : ToolWindow(QStringLiteral("ScrollHost"), QSize(6000, 3000))
    {
    }
    QStringList events;
    QList<int> values;

protected:
    void build(QWidget* form) override
    {
        auto* bar = place<QScrollBar>(form, QStringLiteral("bar"), 120, 120, 4800, 255);
        bar->setOrientation(Qt::Horizontal);
        bar->setRange(0, 100);
        bar->setPageStep(10);
        auto* slider = place<QSlider>(form, QStringLiteral("slider"), 120, 1200, 4800, 450);
        slider->setOrientation(Qt::Horizontal);
        slider->setRange(0, 100);
        for (QAbstractSlider* s : {static_cast<QAbstractSlider*>(bar), static_cast<QAbstractSlider*>(slider)})
            onScrollBar(
                *this, s, [this, s] { record("change", s); }, [this, s] { record("scroll", s); });
    }

private:
    void record(const char* what, QAbstractSlider* s)
    {
        events << QString::fromLatin1(what);
        values << s->value();
    }
};

} // namespace

class TestScrollNotify : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        auto& w = FormSlots::get<ScrollHost>();
        w.show();
        w.events.clear();
        w.values.clear();
    }
    void cleanup() { FormSlots::get<ScrollHost>().unload(); }

    void arrowClicksAndKeysChangeOnceEach()
    {
        auto& w = FormSlots::get<ScrollHost>();
        auto* bar = w.form()->findChild<QScrollBar*>("bar");
        const QPoint right = subControlCentre(bar, QStyle::CC_ScrollBar, QStyle::SC_ScrollBarAddLine);
        QTest::mouseClick(bar, Qt::LeftButton, {}, right);
        QTest::mouseClick(bar, Qt::LeftButton, {}, right);
        QCOMPARE(w.events, QStringList({"change", "change"}));
        QCOMPARE(w.values, QList<int>({1, 2}));
        bar->setFocus();
        QTest::keyClick(bar, Qt::Key_PageDown);
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        bar->setValue(50); // the program's own change counts too
        QCOMPARE(w.events, QStringList({"change", "change", "change", "change", "change"}));
        QCOMPARE(w.values, QList<int>({1, 2, 12, 11, 50}));
    }

    // Left and Right step a horizontal bar the arrow's way, once a press,
    // also on a bar that already had children of its own and was wired
    // twice.
    void arrowKeysOnABarWithChildren()
    {
        auto& w = FormSlots::get<ScrollHost>();
        QScrollBar bar(Qt::Horizontal, w.form());
        bar.setRange(0, 100);
        bar.setValue(50);
        new QObject(&bar);
        for (int i = 0; i < 2; ++i)
            onScrollBar(w, &bar, [] {}, [] {});
        bar.show();
        bar.setFocus();
        QTest::keyClick(&bar, Qt::Key_Left);
        QCOMPARE(bar.value(), 49);
        QTest::keyClick(&bar, Qt::Key_Right);
        QTest::keyClick(&bar, Qt::Key_Right);
        QCOMPARE(bar.value(), 51);
    }

    void dragScrollsThenChangesOnce()
    {
        auto& w = FormSlots::get<ScrollHost>();
        auto* slider = w.form()->findChild<QSlider*>("slider");
        const QPoint handle = subControlCentre(slider, QStyle::CC_Slider, QStyle::SC_SliderHandle);
        QTest::mousePress(slider, Qt::LeftButton, {}, handle);
        QVERIFY(slider->isSliderDown());
        for (int dx : {40, 80, 120}) {
            QMouseEvent move(QEvent::MouseMove, QPointF(handle + QPoint(dx, 0)),
                             slider->mapToGlobal(QPointF(handle + QPoint(dx, 0))), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(slider, &move);
        }
        QVERIFY(w.events.size() >= 3);
        QVERIFY(!w.events.contains("change"));
        QVERIFY(w.values.last() > 0);
        const int dragged = slider->value();
        QTest::mouseRelease(slider, Qt::LeftButton, {}, handle + QPoint(120, 0));
        QCOMPARE(w.events.count("change"), 1);
        QCOMPARE(w.events.last(), QStringLiteral("change"));
        QCOMPARE(w.values.last(), dragged);
    }

    void dragWithoutMovingAndUntrackedDrag()
    {
        auto& w = FormSlots::get<ScrollHost>();
        auto* bar = w.form()->findChild<QScrollBar*>("bar");
        // Pressed and released in place: nothing to report.
        bar->setSliderDown(true);
        bar->setSliderDown(false);
        QCOMPARE(w.events, QStringList());
        // A drag reported through the slider's own signals, tracking switched
        // off by someone: the value lands at the release, reported once.
        bar->setTracking(false);
        bar->setSliderDown(true);
        bar->setSliderPosition(30);
        bar->setSliderPosition(40);
        bar->setSliderDown(false);
        QCOMPARE(w.events, QStringList({"change"}));
        QCOMPARE(w.values, QList<int>({40}));
    }
};

VOLTARIS_TEST(TestScrollNotify);
#include "test_scrollnotify.moc"

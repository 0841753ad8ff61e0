#include "scrollnotify.h"

#include "toolwindow.h"

#include <QAbstractSlider>
#include <QKeyEvent>

#include <memory>

namespace {
// Qt's scroll bars invert their keys (so that the wheel scrolls content the
// usual way), which on a horizontal bar makes Left move the thumb right.
// Left and Right step the thumb the arrow's way here; the wheel and the
// vertical keys keep Qt's behaviour.
class ArrowKeys : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* bar = qobject_cast<QAbstractSlider*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!bar || bar->orientation() != Qt::Horizontal || (key->modifiers() & ~Qt::KeypadModifier))
            return false;
        if (key->key() != Qt::Key_Left && key->key() != Qt::Key_Right)
            return false;
        // Where the thumb runs right to left, a lower value lies to the right.
        const bool lowerIsLeft = bar->invertedAppearance() == bar->isRightToLeft();
        const bool towardLower = (key->key() == Qt::Key_Left) == lowerIsLeft;
        bar->triggerAction(towardLower ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd);
        return true;
    }
};

// Found again by its name: without a meta-object of its own, a lookup by
// type would take any child of the bar for it.
const QString kArrowKeysName = QStringLiteral("voltaris_arrowkeys");

// Left and Right move the thumb of a horizontal bar the arrow's way; once
// per bar, however often it is wired.
void arrowKeysFollowThumb(QAbstractSlider* bar)
{
    if (bar->findChild<QObject*>(kArrowKeysName, Qt::FindDirectChildrenOnly))
        return;
    auto* keys = new ArrowKeys(bar);
    keys->setObjectName(kArrowKeysName);
    bar->installEventFilter(keys);
}
} // namespace

void onScrollBar(ToolWindow& w, QAbstractSlider* bar, std::function<void()> change, std::function<void()> scroll)
{
    struct Drag {
        bool on = false;
        int startValue = 0;
    };
    auto drag = std::make_shared<Drag>();
    bar->setTracking(true);
    // Qt's scroll bars never take the keyboard; a bar the user clicks or
    // tabs to takes it, so that its keys reach it.
    bar->setFocusPolicy(Qt::StrongFocus);
    arrowKeysFollowThumb(bar);
    w.on(bar, &QAbstractSlider::sliderPressed, [drag, bar] {
        drag->on = true;
        drag->startValue = bar->value();
    });
    w.on(bar, &QAbstractSlider::valueChanged, [drag, bar, change, scroll] {
        if (bar->isSliderDown()) {
            if (scroll)
                scroll();
        } else if (!drag->on && change) {
            change();
        }
    });
    // The release reports the drag's outcome once (with tracking off the
    // value lands just before this, while the drag is still marked on).
    w.on(bar, &QAbstractSlider::sliderReleased, [drag, bar, change] {
        if (!drag->on)
            return;
        drag->on = false;
        if (bar->value() != drag->startValue && change)
            change();
    });
}

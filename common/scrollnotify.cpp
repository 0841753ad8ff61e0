#include "scrollnotify.h"

#include "toolwindow.h"

#include <QAbstractSlider>

#include <memory>

void onScrollBar(ToolWindow& w, QAbstractSlider* bar, std::function<void()> change, std::function<void()> scroll)
{
    struct Drag {
        bool on = false;
        int startValue = 0;
    };
    auto drag = std::make_shared<Drag>();
    bar->setTracking(true);
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

#pragma once
// Scroll bars and sliders as the tool windows use them: two notifications.
//   scroll  - while the thumb is dragged, on every move of the value;
//   change  - once when the value settles: an arrow or page click, a key,
//             the release after a drag (when the drag moved the value), or
//             the program setting the value.
// The value follows the thumb during a drag (tracking on), so a scroll
// handler reads the value the user is pointing at. Both handlers run
// guarded in the window; the wiring ends with the form.

#include <functional>

class QAbstractSlider;
class ToolWindow;

// The wiring also lets the bar take the focus on a click and on Tab, and
// makes Left and Right move a horizontal bar's thumb the arrow's way (Qt's
// scroll bars invert them).
void onScrollBar(ToolWindow& w, QAbstractSlider* bar, std::function<void()> change,
                 std::function<void()> scroll = {});

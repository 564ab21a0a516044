// Turning a button press into a double click the way the desktop does: the
// second press of the same button within the double-click time and inside
// the double-click rectangle centred on the first press. A press that made a
// double click does not start another one (a third click is a plain press).
#pragma once

#include <cstdint>

namespace klv::ui {

constexpr std::uint32_t double_click_time_ms = 500;
constexpr int double_click_width = 4;   // SM_CXDOUBLECLK
constexpr int double_click_height = 4;  // SM_CYDOUBLECLK

class ClickTracker {
public:
    // True when this press completes a double click. Buttons: 0 left,
    // 1 right, 2 middle. Time in milliseconds, wrapping like a tick count.
    bool press(int button, std::uint32_t time_ms, int x, int y);
    // Forget the last press (the window lost the mouse, another window was clicked).
    void reset() { armed_ = false; }

private:
    bool armed_ = false;
    int button_ = -1;
    std::uint32_t time_ms_ = 0;
    int x_ = 0;
    int y_ = 0;
};

}  // namespace klv::ui

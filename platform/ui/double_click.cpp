#include "platform/ui/double_click.h"

#include <cstdlib>

namespace klv::ui {

bool ClickTracker::press(int button, std::uint32_t time_ms, int x, int y) {
    const bool is_double = armed_ && button == button_ && std::uint32_t(time_ms - time_ms_) <= double_click_time_ms &&
                           std::abs(x - x_) <= double_click_width / 2 && std::abs(y - y_) <= double_click_height / 2;
    if (is_double) {
        armed_ = false;
        return true;
    }
    armed_ = true;
    button_ = button;
    time_ms_ = time_ms;
    x_ = x;
    y_ = y;
    return false;
}

}  // namespace klv::ui

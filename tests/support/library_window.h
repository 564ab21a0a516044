// Reaching into the library's windows from tests: the record and window of
// the current window, the pixels of a page, the screen the user sees.
#pragma once

#include <functional>

#include "graphics/window/window_state.h"
#include "tests/support/bmp_image.h"

namespace klv::test {

ui::Window* current_window_handle();
WindowState* current_state();
// A copy of page `page` of the current window, taken under the window's lock.
Image page_image(int page);
// What the user sees of the current window, once its thread is idle.
Image screen_image();
// Waits until the current window's thread has handled everything queued.
bool wait_idle();
// The part of the screen that a drawing step brings up to date (empty when
// none): the active page is first marked all over behind the window's back,
// so that every pixel the step shows changes on the screen.
gdi::Rect area_shown_by(const std::function<void()>& step);

}  // namespace klv::test

// Reaching into the library's windows from tests: the record and window of
// the current window, the pixels of a page, the screen the user sees.
#pragma once

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

}  // namespace klv::test

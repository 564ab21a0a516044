#include "tests/support/library_window.h"

#include <mutex>

#include "platform/ui/testing.h"

namespace klv::test {

ui::Window* current_window_handle() {
    const WindowTable& table = window_table();
    if (table.current_window < 0) return nullptr;
    return table.window_handles[std::size_t(table.current_window)];
}

WindowState* current_state() {
    ui::Window* window = current_window_handle();
    return window != nullptr ? static_cast<WindowState*>(ui::user_data(window)) : nullptr;
}

Image page_image(int page) {
    WindowState* state = current_state();
    std::lock_guard lock(state->mutex);
    const gdi::Bitmap* bitmap = state->page_dc[std::size_t(page)]->bitmap;
    Image image{bitmap->width(), bitmap->height(), {}};
    image.pixels.assign(bitmap->pixels(), bitmap->pixels() + std::size_t(bitmap->width()) * bitmap->height());
    return image;
}

Image screen_image() {
    ui::Window* window = current_window_handle();
    ui::testing::wait_until_idle(window);
    const gdi::Size size = ui::testing::screen_size(window);
    return {size.cx, size.cy, ui::testing::screen_pixels(window)};
}

bool wait_idle() { return ui::testing::wait_until_idle(current_window_handle()); }

}  // namespace klv::test

#include "tests/support/library_window.h"

#include <algorithm>
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

gdi::Rect area_shown_by(const std::function<void()>& step) {
    const Image before = screen_image();
    {
        WindowState* state = current_state();
        std::lock_guard lock(state->mutex);
        gdi::Bitmap* page = state->page_dc[std::size_t(state->active_page)]->bitmap;
        std::fill_n(page->pixels(), std::size_t(page->width()) * std::size_t(page->height()), 0x5A3C1Eu);
    }
    step();
    const Image after = screen_image();
    gdi::Rect area{after.width, after.height, 0, 0};
    for (int y = 0; y < after.height; ++y) {
        for (int x = 0; x < after.width; ++x) {
            if (after.at(x, y) == before.at(x, y)) continue;
            area = {std::min(area.left, x), std::min(area.top, y), std::max(area.right, x + 1),
                    std::max(area.bottom, y + 1)};
        }
    }
    return area.left < area.right ? area : gdi::Rect{};
}

}  // namespace klv::test

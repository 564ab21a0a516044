// Single pixels and the current position.
#include "graphics/draw/colors.h"
#include "graphics/draw/drawing_context.h"
#include "graphics/draw/drawing_modes.h"
#include "graphics/draw/primitives.h"

namespace klv {

namespace {

// The colour number of the first palette colour equal to rgb, else the
// colour value of rgb.
// Unrolled, as the compiler does of its own accord for a plain array: one
// branch per entry predicts far better than one loop branch (get_pixel on a
// many-coloured page costs half again as much rolled).
int palette_number_or_rgb(gdi::ColorRef rgb) {
#pragma GCC unroll 16
    for (std::size_t i = 0; i < palette.size(); ++i)
        if (palette[i].load(std::memory_order_relaxed) == rgb) return int(i);
    return rgb_color_value(rgb);
}

gdi::Point current_position(const PageLock& lock) { return lock.active_dc()->position; }

gdi::Point moved(gdi::Point from, int dx, int dy) {
    return {saturate(std::int64_t(from.x) + dx), saturate(std::int64_t(from.y) + dy)};
}

void move_pages_to(WindowState* state, gdi::Point to) {
    for (gdi::DeviceContext* dc : state->page_dc) gdi::move_to(dc, to.x, to.y, nullptr);
}

// A line from the current position, which then moves there on every page.
void line_from_current_position(WindowState* state, PageLock& lock, gdi::Point to) {
    const gdi::Point from = current_position(lock);
    {
        OutlineMode mode(state, lock.active_dc());
        gdi::line_to(lock.active_dc(), to.x, to.y);
    }
    move_pages_to(state, to);
    lock.refresh(covering_rect(from.x, from.y, to.x, to.y));
}

}  // namespace

}  // namespace klv

using namespace klv;

extern "C" void put_pixel(int x, int y, int color) {
    WindowState* state = current_window_state(nullptr);
    const gdi::ColorRef rgb = color_to_rgb(color);
    PageLock lock(state);
    if (!lock.locked()) return;
    gdi::set_pixel(lock.active_dc(), x, y, rgb);
    lock.refresh({x, y, saturate(std::int64_t(x) + 1), saturate(std::int64_t(y) + 1)});
}

extern "C" int get_pixel(int x, int y) {
    WindowState* state = current_window_state(nullptr);
    PageLock lock(state);
    if (!lock.locked()) return -1;
    const gdi::ColorRef rgb = gdi::get_pixel(lock.active_dc(), x, y);
    return rgb == gdi::CLR_INVALID ? -1 : palette_number_or_rgb(rgb);
}

extern "C" void move_to(int x, int y) {
    WindowState* state = current_window_state(nullptr);
    PageLock lock(state);
    if (lock.locked()) move_pages_to(state, {x, y});
}

extern "C" void move_by(int dx, int dy) {
    WindowState* state = current_window_state(nullptr);
    PageLock lock(state);
    if (lock.locked()) move_pages_to(state, moved(current_position(lock), dx, dy));
}

extern "C" void line_to(int x, int y) {
    WindowState* state = current_window_state(nullptr);
    PageLock lock(state);
    if (lock.locked()) line_from_current_position(state, lock, {x, y});
}

extern "C" void line_by(int dx, int dy) {
    WindowState* state = current_window_state(nullptr);
    PageLock lock(state);
    if (lock.locked()) line_from_current_position(state, lock, moved(current_position(lock), dx, dy));
}

extern "C" int get_x(void) {
    WindowState* state = current_window_state(nullptr);
    PageLock lock(state);
    return lock.locked() ? current_position(lock).x : 0;
}

extern "C" int get_y(void) {
    WindowState* state = current_window_state(nullptr);
    PageLock lock(state);
    return lock.locked() ? current_position(lock).y : 0;
}

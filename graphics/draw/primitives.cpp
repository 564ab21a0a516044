#include "graphics/draw/primitives.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "graphics/draw/colors.h"
#include "graphics/draw/drawing_context.h"
#include "graphics/draw/drawing_modes.h"

namespace klv {

namespace {

constexpr double degrees_to_radians = 0.017453292519943295;

// Truncation toward zero, kept within the 32-bit range.
std::int64_t truncate(double value) {
    return std::int64_t(std::clamp(value, -2147483648.0, 2147483647.0));
}

}  // namespace

gdi::Point point_on_circle(int x, int y, int angle, int radius) { return point_on_ellipse(x, y, angle, radius, radius); }

gdi::Point point_on_ellipse(int x, int y, int angle, int x_radius, int y_radius) {
    return {saturate(std::int64_t(x) + truncate(double(x_radius) * std::cos(angle * degrees_to_radians))),
            saturate(std::int64_t(y) - truncate(double(y_radius) * std::sin(angle * degrees_to_radians)))};
}

gdi::Rect ellipse_box(int x, int y, int x_radius, int y_radius) {
    return {saturate(std::int64_t(x) - x_radius), saturate(std::int64_t(y) - y_radius),
            saturate(std::int64_t(x) + x_radius), saturate(std::int64_t(y) + y_radius)};
}

gdi::Rect covering_rect(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
    return {saturate(std::min(x1, x2)), saturate(std::min(y1, y2)), saturate(std::max(x1, x2) + 1),
            saturate(std::max(y1, y2) + 1)};
}

}  // namespace klv

using namespace klv;

extern "C" void draw_line(int x1, int y1, int x2, int y2) {
    WindowState* state = current_window_state(nullptr);
    PageLock lock(state);
    if (!lock.locked()) return;
    gdi::DeviceContext* dc = lock.active_dc();
    {
        OutlineMode mode(state, dc);
        gdi::Point remembered;
        gdi::move_to(dc, x1, y1, &remembered);
        gdi::line_to(dc, x2, y2);
        gdi::move_to(dc, remembered.x, remembered.y, nullptr);
    }
    lock.refresh(covering_rect(x1, y1, x2, y2));
}

extern "C" void draw_rectangle(int left, int top, int right, int bottom) {
    WindowState* state = current_window_state(nullptr);
    PageLock lock(state);
    if (!lock.locked()) return;
    {
        OutlineMode mode(state, lock.active_dc());
        const gdi::Point corners[5] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
        gdi::polyline(lock.active_dc(), corners, 5);
    }
    lock.refresh(covering_rect(left, top, right, bottom));
}

extern "C" void fill_bar(int left, int top, int right, int bottom) {
    WindowState* state = current_window_state(nullptr);
    PageLock lock(state);
    if (!lock.locked()) return;
    gdi::DeviceContext* dc = lock.active_dc();
    {
        FillingColors colors(state, dc);
        gdi::fill_rect(dc, {left, top, right, bottom}, static_cast<gdi::Brush*>(gdi::current_object(dc, gdi::ObjectKind::brush)));
    }
    lock.refresh(covering_rect(left, top, right, bottom));
}

extern "C" void draw_pie_slice(int x, int y, int start_angle, int end_angle, int radius) {
    draw_sector(x, y, start_angle, end_angle, radius, radius);
}

// The side and the top are lines, so that they follow the write mode.
extern "C" void draw_bar_3d(int left, int top, int right, int bottom, int depth, int top_face) {
    fill_bar(left, top, right, bottom);
    draw_rectangle(left, top, right, bottom);
    if (depth == 0) return;
    const int back_right = saturate(std::int64_t(right) + depth);
    const int back_top = saturate(std::int64_t(top) - depth);
    draw_line(right, bottom, back_right, saturate(std::int64_t(bottom) - depth));
    draw_line(back_right, saturate(std::int64_t(bottom) - depth), back_right, back_top);
    if (top_face == 0) return;
    draw_line(left, top, saturate(std::int64_t(left) + depth), back_top);
    draw_line(saturate(std::int64_t(left) + depth), back_top, back_right, back_top);
    draw_line(right, top, back_right, back_top);
}

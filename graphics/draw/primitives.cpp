#include "graphics/draw/primitives.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "graphics/draw/colors.h"
#include "graphics/draw/drawing_context.h"

namespace klv {

namespace {

constexpr double degrees_to_radians = 0.017453292519943295;

int saturate(std::int64_t value) {
    return int(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Truncation toward zero, kept within the 32-bit range.
std::int64_t truncate(double value) {
    return std::int64_t(std::clamp(value, -2147483648.0, 2147483647.0));
}

void refresh(gdi::Rect rect) { refresh_window(&rect); }

}  // namespace

gdi::Point point_on_circle(int x, int y, int angle, int radius) {
    const double r = double(radius);
    return {saturate(std::int64_t(x) + truncate(r * std::cos(angle * degrees_to_radians))),
            saturate(std::int64_t(y) - truncate(r * std::sin(angle * degrees_to_radians)))};
}

gdi::Rect covering_rect(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
    return {saturate(std::min(x1, x2)), saturate(std::min(y1, y2)), saturate(std::max(x1, x2) + 1),
            saturate(std::max(y1, y2) + 1)};
}

}  // namespace klv

using namespace klv;

extern "C" void draw_line(int x1, int y1, int x2, int y2) {
    WindowState* state = current_window_state(nullptr);
    {
        PageLock lock(state);
        if (!lock.locked()) return;
        gdi::DeviceContext* dc = lock.active_dc();
        gdi::Point remembered;
        gdi::move_to(dc, x1, y1, &remembered);
        gdi::line_to(dc, x2, y2);
        gdi::move_to(dc, remembered.x, remembered.y, nullptr);
    }
    refresh(covering_rect(x1, y1, x2, y2));
}

extern "C" void draw_rectangle(int left, int top, int right, int bottom) {
    WindowState* state = current_window_state(nullptr);
    {
        PageLock lock(state);
        if (!lock.locked()) return;
        const gdi::Point corners[5] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
        gdi::polyline(lock.active_dc(), corners, 5);
    }
    refresh(covering_rect(left, top, right, bottom));
}

// The text colour is the fill colour while filling, so that the 0 bits of a
// pattern brush show it.
extern "C" void fill_bar(int left, int top, int right, int bottom) {
    WindowState* state = current_window_state(nullptr);
    {
        PageLock lock(state);
        if (!lock.locked()) return;
        gdi::DeviceContext* dc = lock.active_dc();
        auto* brush = static_cast<gdi::Brush*>(gdi::current_object(dc, gdi::ObjectKind::brush));
        gdi::set_text_color(dc, color_to_rgb(state->fill_color));
        gdi::fill_rect(dc, {left, top, right, bottom}, brush);
        gdi::set_text_color(dc, color_to_rgb(state->draw_color));
    }
    refresh(covering_rect(left, top, right, bottom));
}

extern "C" void draw_pie_slice(int x, int y, int start_angle, int end_angle, int radius) {
    WindowState* state = current_window_state(nullptr);
    const std::int64_t left = std::int64_t(x) - radius, top = std::int64_t(y) - radius;
    const std::int64_t right = std::int64_t(x) + radius, bottom = std::int64_t(y) + radius;
    const gdi::Point start = point_on_circle(x, y, start_angle, radius);
    const gdi::Point end = point_on_circle(x, y, end_angle, radius);
    const gdi::ColorRef fill = color_to_rgb(state->fill_color);
    {
        PageLock lock(state);
        if (!lock.locked()) return;
        gdi::DeviceContext* dc = lock.active_dc();
        gdi::set_text_color(dc, fill);
        gdi::pie(dc, saturate(left), saturate(top), saturate(right), saturate(bottom), start.x, start.y, end.x,
                 end.y);
        gdi::set_text_color(dc, color_to_rgb(state->draw_color));
    }
    refresh(covering_rect(left, top, right, bottom));
}

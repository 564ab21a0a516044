// Circles, arcs, ellipses, sectors, polylines, polygons and flood fills.
#include <vector>

#include "graphics/draw/colors.h"
#include "graphics/draw/drawing_context.h"
#include "graphics/draw/drawing_modes.h"
#include "graphics/draw/primitives.h"

namespace klv {

namespace {

gdi::Rect box_area(const gdi::Rect& box) { return covering_rect(box.left, box.top, box.right, box.bottom); }

// The outline of the whole ellipse, closed, as Ellipse draws it with a
// hollow brush (a whole-turn Arc would leave a pixel out beside its start,
// and a flood fill inside would leak through it).
void closed_outline(gdi::DeviceContext* dc, const gdi::Rect& box) {
    gdi::Object* brush = gdi::select_object(dc, gdi::stock_object(gdi::NULL_BRUSH));
    gdi::ellipse(dc, box.left, box.top, box.right, box.bottom);
    gdi::select_object(dc, brush);
}

void elliptic_arc(int x, int y, int start_angle, int end_angle, int x_radius, int y_radius) {
    WindowState* state = current_window_state(nullptr);
    const gdi::Rect box = ellipse_box(x, y, x_radius, y_radius);
    const gdi::Point start = point_on_ellipse(x, y, start_angle, x_radius, y_radius);
    const gdi::Point end = point_on_ellipse(x, y, end_angle, x_radius, y_radius);
    PageLock lock(state);
    if (!lock.locked()) return;
    {
        OutlineMode mode(state, lock.active_dc());
        if (start == end)
            closed_outline(lock.active_dc(), box);
        else
            gdi::arc(lock.active_dc(), box.left, box.top, box.right, box.bottom, start.x, start.y, end.x, end.y);
    }
    lock.refresh(box_area(box));
}

// The points of xy as a list, and the area they cover; empty for fewer
// than two points or none.
std::vector<gdi::Point> point_list(int count, const int* xy, gdi::Rect& area) {
    std::vector<gdi::Point> points;
    if (xy == nullptr || count < 2) return points;
    points.reserve(std::size_t(count));
    std::int64_t left = xy[0], top = xy[1], right = xy[0], bottom = xy[1];
    for (int i = 0; i < count; ++i) {
        const gdi::Point p{xy[2 * std::size_t(i)], xy[2 * std::size_t(i) + 1]};
        left = std::min<std::int64_t>(left, p.x), right = std::max<std::int64_t>(right, p.x);
        top = std::min<std::int64_t>(top, p.y), bottom = std::max<std::int64_t>(bottom, p.y);
        points.push_back(p);
    }
    area = covering_rect(left, top, right, bottom);
    return points;
}

}  // namespace

}  // namespace klv

using namespace klv;

extern "C" void draw_circle(int x, int y, int radius) {
    WindowState* state = current_window_state(nullptr);
    const gdi::Rect box = ellipse_box(x, y, radius, radius);
    PageLock lock(state);
    if (!lock.locked()) return;
    {
        OutlineMode mode(state, lock.active_dc());
        closed_outline(lock.active_dc(), box);
    }
    lock.refresh(box_area(box));
}

extern "C" void draw_arc(int x, int y, int start_angle, int end_angle, int radius) {
    elliptic_arc(x, y, start_angle, end_angle, radius, radius);
}

extern "C" void draw_ellipse(int x, int y, int start_angle, int end_angle, int x_radius, int y_radius) {
    elliptic_arc(x, y, start_angle, end_angle, x_radius, y_radius);
}

extern "C" void fill_ellipse(int x, int y, int x_radius, int y_radius) {
    WindowState* state = current_window_state(nullptr);
    const gdi::Rect box = ellipse_box(x, y, x_radius, y_radius);
    PageLock lock(state);
    if (!lock.locked()) return;
    {
        FillingColors colors(state, lock.active_dc());
        gdi::ellipse(lock.active_dc(), box.left, box.top, box.right, box.bottom);
    }
    lock.refresh(box_area(box));
}

extern "C" void draw_sector(int x, int y, int start_angle, int end_angle, int x_radius, int y_radius) {
    WindowState* state = current_window_state(nullptr);
    const gdi::Rect box = ellipse_box(x, y, x_radius, y_radius);
    const gdi::Point start = point_on_ellipse(x, y, start_angle, x_radius, y_radius);
    const gdi::Point end = point_on_ellipse(x, y, end_angle, x_radius, y_radius);
    PageLock lock(state);
    if (!lock.locked()) return;
    {
        FillingColors colors(state, lock.active_dc());
        gdi::pie(lock.active_dc(), box.left, box.top, box.right, box.bottom, start.x, start.y, end.x, end.y);
    }
    lock.refresh(box_area(box));
}

extern "C" void draw_polyline(int count, const int* xy) {
    WindowState* state = current_window_state(nullptr);
    gdi::Rect area;
    const std::vector<gdi::Point> points = point_list(count, xy, area);
    if (points.empty()) return;
    PageLock lock(state);
    if (!lock.locked()) return;
    {
        OutlineMode mode(state, lock.active_dc());
        gdi::polyline(lock.active_dc(), points.data(), count);
    }
    lock.refresh(area);
}

extern "C" void fill_polygon(int count, const int* xy) {
    WindowState* state = current_window_state(nullptr);
    gdi::Rect area;
    const std::vector<gdi::Point> points = point_list(count, xy, area);
    if (points.empty()) return;
    PageLock lock(state);
    if (!lock.locked()) return;
    {
        FillingColors colors(state, lock.active_dc());
        gdi::polygon(lock.active_dc(), points.data(), count);
    }
    lock.refresh(area);
}

// The start point is logical, as for every other drawing call.
extern "C" void flood_fill(int x, int y, int border) {
    WindowState* state = current_window_state(nullptr);
    const gdi::ColorRef border_rgb = color_to_rgb(border);
    PageLock lock(state);
    if (!lock.locked()) return;
    bool filled;
    {
        FillingColors colors(state, lock.active_dc());
        filled = gdi::ext_flood_fill(lock.active_dc(), x, y, border_rgb, gdi::FLOODFILLBORDER);
    }
    if (filled) lock.refresh_page();
}

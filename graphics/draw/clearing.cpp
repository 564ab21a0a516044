// Clearing the active page or the viewport to the background colour. Both
// put the current position at (0, 0).
#include "graphics/draw/colors.h"
#include "graphics/draw/drawing_context.h"

namespace klv {

namespace {

// Fills the device rectangle with the background colour: the viewport
// origin is set aside meanwhile (the clip stays unless told otherwise).
void fill_device_rect(const WindowState* state, gdi::DeviceContext* dc, const gdi::Rect& rect, bool ignore_clip) {
    gdi::Point origin;
    gdi::set_viewport_origin(dc, 0, 0, &origin);
    if (ignore_clip) gdi::select_clip_region(dc, nullptr);
    gdi::Brush* background = gdi::create_solid_brush(color_to_rgb(state->bk_color));
    gdi::fill_rect(dc, rect, background);
    gdi::delete_object(background);
    if (ignore_clip && state->viewport_clip != 0) {
        gdi::Region* clip = gdi::create_rect_region(state->viewport_left, state->viewport_top,
                                                    state->viewport_right, state->viewport_bottom);
        gdi::select_clip_region(dc, clip);
        gdi::delete_object(clip);
    }
    gdi::set_viewport_origin(dc, origin.x, origin.y, nullptr);
}

void clear(const gdi::Rect& rect, bool ignore_clip) {
    WindowState* state = current_window_state(nullptr);
    PageLock lock(state);
    if (!lock.locked()) return;
    fill_device_rect(state, lock.active_dc(), rect, ignore_clip);
    for (gdi::DeviceContext* dc : state->page_dc) gdi::move_to(dc, 0, 0, nullptr);
    lock.refresh_page();
}

}  // namespace

}  // namespace klv

using namespace klv;

extern "C" void clear_page(void) {
    const WindowState* state = current_window_state(nullptr);
    clear({0, 0, state->width, state->height}, true);
}

extern "C" void clear_viewport(void) {
    const WindowState* state = current_window_state(nullptr);
    clear({state->viewport_left, state->viewport_top, state->viewport_right, state->viewport_bottom}, false);
}

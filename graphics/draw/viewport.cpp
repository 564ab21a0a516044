#include "graphics/draw/viewport.h"

#include <mutex>

#include "graphics/draw/colors.h"
#include "graphics/draw/drawing_context.h"

using namespace klv;

extern "C" void set_viewport(int left, int top, int right, int bottom, int clip) {
    WindowState* state = current_window_state(nullptr);
    state->viewport_left = left;
    state->viewport_top = top;
    state->viewport_right = right;
    state->viewport_bottom = bottom;
    state->viewport_clip = clip;
    gdi::Region* region = clip != 0 ? gdi::create_rect_region(left, top, right, bottom) : nullptr;
    {
        PageLock lock(state);
        if (lock.locked()) {
            for (gdi::DeviceContext* dc : state->page_dc) {
                gdi::select_clip_region(dc, region);
                gdi::set_viewport_origin(dc, left, top, nullptr);
                gdi::move_to(dc, 0, 0, nullptr);
            }
        }
    }
    if (region != nullptr) gdi::delete_object(region);
}

extern "C" int get_max_x(void) { return current_window_state(nullptr)->width - 1; }
extern "C" int get_max_y(void) { return current_window_state(nullptr)->height - 1; }

namespace klv {

namespace {

void select_stock_objects(WindowState* state) {
    PageLock lock(state);
    if (!lock.locked()) return;
    for (gdi::DeviceContext* dc : state->page_dc) {
        gdi::delete_object(gdi::select_object(dc, gdi::stock_object(gdi::WHITE_PEN)));
        gdi::delete_object(gdi::select_object(dc, gdi::stock_object(gdi::WHITE_BRUSH)));
        gdi::set_text_color(dc, color_to_rgb(15));
    }
}

void reset_text_settings(WindowState* state) {
    state->text_v_justify = 2;
    state->text_align_pending = 2;
    state->text_h_justify = 0;
    state->text_font = 0;
    state->text_direction = 0;
    state->text_char_size = 1;
    state->text_mult_x = state->text_div_x = 1;
    state->text_mult_y = state->text_div_y = 1;
}

}  // namespace

void reset_defaults() {
    WindowState* state = current_window_state(nullptr);
    set_viewport(0, 0, state->width, state->height, 0);
    {
        std::lock_guard mouse_lock(state->mouse_mutex);
        state->mouse_position = 0;
    }
    state->auto_refresh = true;
    for (std::size_t i = 0; i < palette.size(); ++i) palette[i].store(default_palette[i], std::memory_order_relaxed);
    set_bk_color(0);
    state->draw_color = 15;
    state->fill_pattern = 1;
    state->fill_color = 15;
    select_stock_objects(state);
    reset_text_settings(state);
    state->last_error = 0;
    state->line_style = 0;
    state->line_thickness = 1;
    state->write_mode = KLV_DRAW_COPY;
    {
        // The window thread paints from the visual page meanwhile.
        std::lock_guard lock(state->mutex);
        state->active_page = state->double_buffer ? 1 : 0;
        state->visual_page = 0;
    }
    state->ratio_x = 10000;
    state->ratio_y = 10000;
}

}  // namespace klv

// The four pages: which one is drawn on, which one is shown, and when the
// screen catches up with the drawing.
#include "graphics/draw/drawing_context.h"
#include "graphics/errors/error_record.h"

namespace klv {

namespace {

bool valid_page(int page) { return page >= 0 && page < page_count; }

// The fill style lives in the active page's brush: a new active page takes a
// copy of it, so that a fill after a page change uses the current style.
// Each page keeps a brush of its own, deleted when it is replaced.
void make_active(WindowState* state, int page) {
    if (page == state->active_page) return;
    const auto* brush = static_cast<const gdi::Brush*>(
        gdi::current_object(state->page_dc[std::size_t(state->active_page)], gdi::ObjectKind::brush));
    state->active_page = page;
    gdi::delete_object(gdi::select_object(state->page_dc[std::size_t(page)], gdi::copy_brush(brush)));
}

// The window thread reads the page numbers under the lock when it paints.
template <class Change>
void change_pages(WindowState* state, Change change) {
    PageLock lock(state);
    if (lock.locked()) change();
}

void show_visual_page(const WindowState* state) { ui::invalidate_rect(state->hwnd, nullptr, false); }

}  // namespace

}  // namespace klv

using namespace klv;

extern "C" void set_active_page(int page) {
    WindowState* state = current_window_state(nullptr);
    if (!valid_page(page)) return record_error(KLV_ERROR_BAD_ARGUMENT);
    change_pages(state, [&] { make_active(state, page); });
}

extern "C" void set_visual_page(int page) {
    WindowState* state = current_window_state(nullptr);
    if (!valid_page(page)) return record_error(KLV_ERROR_BAD_ARGUMENT);
    change_pages(state, [&] {
        state->visual_page = page;
        state->picture_changed = true;
    });
    show_visual_page(state);
}

extern "C" void swap_pages(void) {
    WindowState* state = current_window_state(nullptr);
    change_pages(state, [&] {
        const int shown = state->visual_page;
        state->visual_page = state->active_page;
        make_active(state, shown);
        state->picture_changed = true;
    });
    show_visual_page(state);
}

extern "C" int get_active_page(void) {
    const WindowState* state = current_window_or_null();
    return state != nullptr ? state->active_page : -1;
}

extern "C" int get_visual_page(void) {
    const WindowState* state = current_window_or_null();
    return state != nullptr ? state->visual_page : -1;
}

extern "C" void set_auto_refresh(int on) { current_window_state(nullptr)->auto_refresh = on != 0; }

extern "C" void redraw_window(void) {
    WindowState* state = current_window_state(nullptr);
    change_pages(state, [&] { state->picture_changed = true; });
    show_visual_page(state);
}

#include "graphics/window/window_procedure.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <limits>

#include "graphics/draw/drawing_context.h"
#include "graphics/export/print_command.h"
#include "graphics/export/save_image_command.h"
#include "graphics/record/window_recording.h"
#include "graphics/window/keyboard.h"
#include "graphics/window/mouse_events.h"

namespace klv {

namespace {

constexpr int whole_page = std::numeric_limits<int>::max();
constexpr double page_margin_inches = 0.75;

void run_system_command(ui::Window* window, std::uint32_t id) {
    switch (id) {
        case print_2_inch_command:
            print_command(nullptr, 2.0, page_margin_inches, page_margin_inches, 0, 0, whole_page, whole_page, false,
                          window);
            break;
        case print_4_5_inch_command:
            print_command(nullptr, 4.5, page_margin_inches, page_margin_inches, 0, 0, whole_page, whole_page, false,
                          window);
            break;
        case print_7_inch_command:
            print_command(nullptr, 7.0, page_margin_inches, page_margin_inches, 0, 0, whole_page, whole_page, false,
                          window);
            break;
        default:
            save_image_command(nullptr, 0, 0, whole_page, whole_page, false, window);
            break;
    }
}

// A window opened without a title has no title bar (a title set later does
// not give it one): every point of its frame acts as one.
std::intptr_t hit_test(ui::Window* window, std::uintptr_t wparam, std::intptr_t lparam) {
    const std::intptr_t answer = ui::default_procedure(window, ui::WM_NCHITTEST, wparam, lparam);
    if (answer == ui::HTCLIENT || (ui::window_style(window) & ui::WS_CAPTION) == ui::WS_CAPTION) return answer;
    return ui::HTCAPTION;
}

}  // namespace

void paint_window(ui::Window* window) {
    WindowState* state = current_window_state(window);
    ui::PaintInfo paint;
    if (state == nullptr) {
        ui::begin_paint(window, &paint);
        ui::end_paint(window, &paint);
        return;
    }
    std::lock_guard lock(state->mutex);
    gdi::DeviceContext* screen = ui::begin_paint(window, &paint);
    // What drawing changed since the last paint is painted too: drawing tells
    // the window only once per paint.
    const gdi::Rect unshown = take_unshown_area(state);
    if (unshown.left < unshown.right && unshown.top < unshown.bottom) {
        gdi::Rect& area = paint.paint;
        area = area.left < area.right && area.top < area.bottom
                   ? gdi::Rect{std::min(area.left, unshown.left), std::min(area.top, unshown.top),
                               std::max(area.right, unshown.right), std::max(area.bottom, unshown.bottom)}
                   : unshown;
        if (screen != nullptr) screen->clip = area;
    }
    if (!state->pages_released) {
        gdi::DeviceContext* page = state->page_dc[std::size_t(state->visual_page)];
        gdi::Point source{paint.paint.left, paint.paint.top};
        gdi::device_to_logical(page, &source, 1);
        gdi::bit_blt(screen, paint.paint.left, paint.paint.top, paint.paint.right - paint.paint.left,
                     paint.paint.bottom - paint.paint.top, page, source.x, source.y);
        record_painted_page(state, unshown.left < unshown.right && unshown.top < unshown.bottom);
    }
    ui::end_paint(window, &paint);
}

// The four pages share one font: it is deleted once all four let go of it.
void free_pages(WindowState* state) {
    if (state->pages_released) return;
    gdi::Object* font = nullptr;
    for (std::size_t i = 0; i < page_count; ++i) {
        gdi::DeviceContext* dc = state->page_dc[i];
        gdi::delete_object(gdi::select_object(dc, gdi::stock_object(gdi::WHITE_PEN)));
        gdi::delete_object(gdi::select_object(dc, gdi::stock_object(gdi::WHITE_BRUSH)));
        font = gdi::select_object(dc, gdi::stock_object(gdi::SYSTEM_FONT));
        gdi::delete_object(gdi::select_object(dc, state->page_initial_bitmap[i]));
        gdi::delete_dc(dc);
        state->page_dc[i] = nullptr;
    }
    if (font != nullptr) gdi::delete_object(font);
    state->pages_released = true;
}

// When another thread keeps the pages locked beyond the wait, the pages are
// left for the window thread to free once it can take the lock (after its
// message loop): nothing is freed under a drawing thread's feet. Once the
// program is ending (the windows of the thread that ends it go with it)
// the pages stay: a drawing call of the caller's thread may be waiting for
// them.
void release_window_resources(ui::Window* window) {
    WindowState* state = current_window_state(window);
    if (!program_ending && state->mutex.try_lock_for(page_lock_wait())) {
        free_pages(state);
        state->mutex.unlock();
    }
    ui::post_quit_message(0);
}

std::intptr_t window_procedure(ui::Window* window, std::uint32_t message, std::uintptr_t wparam,
                               std::intptr_t lparam) {
    WindowState* state = current_window_state(window);
    if (state != nullptr && message >= ui::WM_MOUSEMOVE && message <= ui::WM_MBUTTONDBLCLK)
        record_mouse_event(state, message, lparam);
    switch (message) {
        case ui::WM_DESTROY:
            if (state != nullptr) {
                finish_window_recording(state);
                release_window_resources(window);
            }
            return 0;
        case ui::WM_PAINT:
            paint_window(window);
            return 0;
        case ui::WM_CLOSE:
            if (state != nullptr && state->close_exits) end_program();
            return 1;
        case ui::WM_NCHITTEST:
            return hit_test(window, wparam, lparam);
        case ui::WM_SETTEXT:
            // The record's title is read on this thread only (printing).
            if (state != nullptr) state->title = reinterpret_cast<const char*>(lparam);
            return ui::default_procedure(window, message, wparam, lparam);
        case ui::WM_KEYDOWN:
            on_key_down(window, std::uint32_t(wparam), true, std::int16_t(lparam & 0xFFFF),
                        std::uint16_t((lparam >> 16) & 0xFFFF));
            return 0;
        case ui::WM_CHAR:
            on_char(window, std::uint32_t(wparam), std::int16_t(lparam & 0xFFFF));
            return 0;
        case ui::WM_SYSCOMMAND: {
            const std::uint32_t id = std::uint32_t(wparam & 0xFFFF);
            if (id < print_2_inch_command || id > save_image_menu_command)
                return ui::default_procedure(window, message, wparam, lparam);
            run_system_command(window, id);
            return 0;
        }
        case ui::WM_LBUTTONDBLCLK:
            return 1;
        default:
            return ui::default_procedure(window, message, wparam, lparam);
    }
}

}  // namespace klv

// DefWindowProcA: what a window does with a message its procedure passes on.
#include "platform/ui/backend.h"
#include "platform/ui/registry.h"
#include "platform/ui/window_internal.h"
#include "platform/ui/window_scale.h"

namespace klv::ui {

namespace {

std::intptr_t hit_test(const Window& window, std::intptr_t lparam) {
    std::lock_guard lock(window.mutex);
    const auto& g = window.geometry;
    const int x = lparam_x(lparam) - g.outer.left;
    const int y = lparam_y(lparam) - g.outer.top;
    if (x < 0 || y < 0 || x >= g.outer.right - g.outer.left || y >= g.outer.bottom - g.outer.top) return HTNOWHERE;
    const int cx = x - g.client_offset.x;
    const int cy = y - g.client_offset.y;
    if (cx >= 0 && cy >= 0 && cx < g.screen_client_width() && cy < g.screen_client_height()) return HTCLIENT;
    const bool captioned = (window.style & WS_CAPTION) == WS_CAPTION;
    const int frame_x = g.client_offset.x;
    if (captioned && cy < 0 && x >= frame_x && x < frame_x + g.screen_client_width() && y >= g.client_offset.y - system_metric(SM_CYCAPTION))
        return HTCAPTION;
    return HTBORDER;
}

void erase_background(Window& window, gdi::DeviceContext* dc) {
    if (!dc || window.window_class.background_brush < 0) return;
    auto* brush = dynamic_cast<gdi::Brush*>(gdi::stock_object(window.window_class.background_brush));
    if (brush) gdi::fill_rect(dc, dc->clip.value_or(window.client_rect()), brush);
}

std::intptr_t system_command(Window& window, std::uintptr_t wparam) {
    switch (std::uint32_t(wparam) & 0xFFF0) {
        case SC_CLOSE: return call_procedure(&window, WM_CLOSE, 0, 0);
        case SC_MINIMIZE: window.native->minimize(); return 0;
        case SC_RESTORE: window.native->restore(); return 0;
        case SC_MOVE: window.native->keyboard_move(); return 0;
        default: return 0;
    }
}

void set_title(Window& window, const char* text) {
    {
        std::lock_guard lock(window.mutex);
        window.title = text != nullptr ? text : "";
    }
    if (window.native) window.native->set_title(text != nullptr ? text : "");
}

}  // namespace

std::intptr_t default_procedure(Window* handle, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
    auto window = owned_window(handle);
    if (!window) return 0;
    if (window->native) {
        if (std::optional<std::intptr_t> answer = window->native->system_default(message, wparam, lparam))
            return *answer;
    }
    switch (message) {
        case WM_CLOSE: destroy_window(handle); return 0;
        case WM_PAINT: {
            PaintInfo paint;
            begin_paint(handle, &paint);
            end_paint(handle, &paint);
            return 0;
        }
        case WM_ERASEBKGND: erase_background(*window, reinterpret_cast<gdi::DeviceContext*>(wparam)); return 1;
        case WM_NCHITTEST: return hit_test(*window, lparam);
        case WM_SETTEXT: set_title(*window, reinterpret_cast<const char*>(lparam)); return 1;
        case WM_SETSCALE: return apply_window_scale(*window, int(wparam)) ? 1 : 0;
        case WM_SYSCOMMAND: return system_command(*window, wparam);
        case WM_SYSKEYDOWN:
            if (wparam == VK_F4) post_message(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
            if (wparam == VK_SPACE) window->native->open_system_menu();
            return 0;
        default: return 0;
    }
}

}  // namespace klv::ui

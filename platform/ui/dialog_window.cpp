#include "platform/ui/dialog_window.h"

#include <algorithm>
#include <mutex>

#include "platform/ui/modal_loop.h"
#include "platform/ui/registry.h"
#include "platform/ui/window_record.h"

namespace klv::ui {

namespace {

constexpr const char* dialog_class = "KLVDialog";

std::intptr_t dialog_procedure(Window* window, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
    auto* content = static_cast<DialogContent*>(user_data(window));
    if (content == nullptr) return default_procedure(window, message, wparam, lparam);
    switch (message) {
        case WM_PAINT: {
            PaintInfo paint;
            gdi::DeviceContext* dc = begin_paint(window, &paint);
            if (dc) content->paint(dc, content->look());
            end_paint(window, &paint);
            return 0;
        }
        case WM_KEYDOWN: content->key_down(std::uint32_t(wparam)); return 0;
        case WM_CHAR:
            if (wparam >= 0x20 && wparam != 0x7F) content->character(std::uint8_t(wparam));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK: content->mouse(message, lparam_x(lparam), lparam_y(lparam)); return 0;
        case WM_CLOSE: content->close_request(); return 0;
        default: return default_procedure(window, message, wparam, lparam);
    }
}

void register_dialog_class() {
    static std::once_flag once;
    std::call_once(once, [] { register_class({dialog_class, CS_DBLCLKS, dialog_procedure, -1}); });
}

// The outer rectangle's top-left corner: centred on the owner, or on the
// screen, and kept on the screen.
gdi::Point dialog_position(Window* owner, int width, int height) {
    const int screen_width = system_metric(SM_CXSCREEN);
    const int screen_height = system_metric(SM_CYSCREEN);
    gdi::Rect around{0, 0, screen_width, screen_height};
    if (auto window = find_window(owner)) {
        std::lock_guard lock(window->mutex);
        around = window->geometry.outer;
    }
    const int x = around.left + (around.right - around.left - width) / 2;
    const int y = around.top + (around.bottom - around.top - height) / 2;
    return {std::clamp(x, 0, std::max(0, screen_width - width)), std::clamp(y, 0, std::max(0, screen_height - height))};
}

}  // namespace

void DialogContent::redraw() {
    if (window_) invalidate_rect(window_, nullptr, false);
}

DialogEnd run_dialog(Window* owner, const std::string& title, DialogContent& content) {
    register_dialog_class();
    DialogLook look(desktop_scale());
    content.look_ = &look;
    const gdi::Size client = content.client_size(look);
    constexpr std::uint32_t style = WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    const int width = client.cx + 2 * system_metric(SM_CXDLGFRAME);
    const int height = client.cy + 2 * system_metric(SM_CYDLGFRAME) + system_metric(SM_CYCAPTION);
    const gdi::Point at = dialog_position(owner, width, height);
    Window* window = create_window(dialog_class, title, style, at.x, at.y, width, height, owner);
    if (window == nullptr) return DialogEnd::no_window;
    content.window_ = window;
    set_user_data(window, &content);
    show_window(window, SW_SHOWNORMAL);
    const bool answered = run_modal_loop(owner, [&] { return content.finished(); });
    set_user_data(window, nullptr);
    destroy_window(window);
    content.window_ = nullptr;
    return answered ? DialogEnd::finished : DialogEnd::quit;
}

}  // namespace klv::ui

#include "platform/ui/web/web_window.h"

#include "platform/gdi/codepage_1252.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/messages.h"
#include "platform/ui/ui.h"
#include "platform/ui/web/web_calls.h"
#include "platform/ui/web/web_keys.h"
#include "platform/ui/window_record.h"

namespace klv::ui {

WebWindow::WebWindow(Window& window, std::function<void(WebWindow*)> gone)
    : window_(window),
      gone_(std::move(gone)),
      link_(new_page_link_number(window.parent != nullptr), [this](const PageInput& input) { on_input(input); }) {
    gdi::Rect outer;
    int width, height, scale;
    std::string title;
    {
        std::lock_guard lock(window_.mutex);
        outer = window_.geometry.outer;
        width = window_.geometry.client_width, height = window_.geometry.client_height;
        scale = window_.geometry.scale;
        title = window_.title;
    }
    klv_web_open(link_.number(), window.parent != nullptr, outer.left, outer.top, width, height, scale,
                 gdi::utf8_from_cp1252(title).c_str());
}

WebWindow::~WebWindow() {
    gone_(this);
    klv_web_remove(link_.number());
}

void WebWindow::show(bool visible) { klv_web_show(link_.number(), visible); }

void WebWindow::set_title(const std::string& title) {
    klv_web_title(link_.number(), gdi::utf8_from_cp1252(title).c_str());
}

void WebWindow::rescale() {
    std::lock_guard lock(window_.mutex);
    const auto& g = window_.geometry;
    klv_web_size(link_.number(), g.client_width, g.client_height, g.scale);
}

void WebWindow::open_system_menu() {}

// The window's own thread opens it: the page's thread only hands over.
void WebWindow::request_menu() {
    if (!window_.enabled) return;
    menu_requested_ = true;
    window_.owner->mark_busy_and_wake();
}

void WebWindow::answer_menu_request() {
    if (menu_requested_.exchange(false)) open_system_menu();
}

void WebWindow::on_input(const PageInput& input) {
    switch (input.kind) {
        case PageInput::Kind::key_down: on_key(input, true); break;
        case PageInput::Kind::key_up: on_key(input, false); break;
        case PageInput::Kind::close: post_message(&window_, WM_CLOSE, 0, 0); break;
        case PageInput::Kind::menu: request_menu(); break;
        default: on_pointer(input); break;
    }
}

bool WebWindow::is_menu_key(const PageInput& input) const {
    return input.code == "F10" || input.code == "ContextMenu" || (input.alt && input.code == "Space");
}

void WebWindow::on_key(const PageInput& input, bool down) {
    if (down && window_.enabled && is_menu_key(input)) {
        request_menu();
        return;
    }
    const std::string code(input.code);
    std::uint32_t vk = virtual_key_from_code(code);
    const int character = down ? character_from_key(std::string(input.key), vk, input.control, input.alt) : -1;
    if (vk == 0 && character < 0) return;
    if (vk == 0) vk = VK_PROCESSKEY;
    const bool was_down = keys_down_.count(code) > 0;
    if (down) {
        keys_down_.insert(code);
    } else {
        keys_down_.erase(code);
    }
    InputEvent event;
    event.kind = InputEvent::Kind::key;
    event.window = &window_;
    event.message = down ? (input.alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (input.alt ? WM_SYSKEYUP : WM_KEYUP);
    if (vk == VK_MENU) event.message = down ? WM_SYSKEYDOWN : WM_KEYUP;
    event.wparam = vk;
    event.lparam = key_lparam(vk, 1, input.alt, down ? (was_down || input.repeat) : true, !down);
    event.character = character;
    window_.owner->push_input(event);
}

void WebWindow::on_pointer(const PageInput& input) {
    const bool is_button = input.kind != PageInput::Kind::pointer_move;
    if (is_button && (input.button < 0 || input.button > 2)) return;  // the back and forward buttons
    InputEvent event;
    event.window = &window_;
    event.kind = is_button ? InputEvent::Kind::mouse_button : InputEvent::Kind::mouse_move;
    event.button = input.button;
    event.down = input.kind == PageInput::Kind::pointer_down;
    event.x = input.x;
    event.y = input.y;
    std::uint32_t flags = 0;
    if (input.shift) flags |= MK_SHIFT;
    if (input.control) flags |= MK_CONTROL;
    if (input.buttons & 1) flags |= MK_LBUTTON;
    if (input.buttons & 2) flags |= MK_RBUTTON;
    if (input.buttons & 4) flags |= MK_MBUTTON;
    // The buttons held before this event: the DOM gives them after it.
    if (is_button) flags ^= button_flag(input.button);
    event.key_flags = flags;
    event.time_ms = input.time_ms;
    window_.owner->push_input(event);
}

}  // namespace klv::ui

#include "platform/ui/web/web_window.h"

#include "platform/gdi/codepage_1252.h"
#include "platform/ui/input.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/messages.h"
#include "platform/ui/native_desktop.h"
#include "platform/ui/ui.h"
#include "platform/ui/web/web_calls.h"
#include "platform/ui/web/web_keys.h"
#include "platform/ui/window_record.h"

namespace klv::ui {

namespace {

// The library's dialogs (message boxes, the choosers) are numbered apart
// from the program's windows.
bool is_dialog(const Window& window) { return (window.style & DS_MODALFRAME) != 0; }

}  // namespace

WebWindow::WebWindow(Window& window, std::function<void(WebWindow*)> gone)
    : window_(window),
      gone_(std::move(gone)),
      link_(new_page_link_number(is_dialog(window)), [this](const PageInput& input) { on_input(input); }) {
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
    klv_web_open(link_.number(), is_dialog(window), outer.left, outer.top, width, height, scale,
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

void WebWindow::open_system_menu() {
    menu_open_ = true;
    const std::uint32_t id = run_web_menu(window_, link_.number(), menu_x_, menu_y_, native_desktop_scale(), menu_inbox_);
    menu_open_ = false;
    if (id != 0) post_message(&window_, WM_SYSCOMMAND, id, 0);
}

// The window's own thread opens it: the page's thread only hands over.
void WebWindow::request_menu(int x, int y) {
    if (!window_.enabled || menu_open_) return;
    menu_x_ = x, menu_y_ = y;
    menu_open_ = true;
    menu_requested_ = true;
    window_.owner->mark_busy_and_wake();
}

// While the menu is open the page's keys and clicks are the popup's; a
// click on the window is one outside the popup.
void WebWindow::to_menu(const PageInput& input) {
    MenuInput menu;
    switch (input.kind) {
        case PageInput::Kind::key_down:
            if (input.code == "Escape" || input.code == "F10" || input.code == "ContextMenu") {
                menu.key = MenuChoice::Key::escape;
            } else if (input.code == "ArrowDown" || input.code == "Numpad2") {
                menu.key = MenuChoice::Key::down;
            } else if (input.code == "ArrowUp" || input.code == "Numpad8") {
                menu.key = MenuChoice::Key::up;
            } else if (input.code == "Enter" || input.code == "NumpadEnter" || input.code == "Space") {
                menu.key = MenuChoice::Key::enter;
            } else {
                return;
            }
            break;
        case PageInput::Kind::pointer_down: menu.kind = MenuInput::Kind::press, menu.x = menu.y = -1; break;
        case PageInput::Kind::menu_move: menu.kind = MenuInput::Kind::move; break;
        case PageInput::Kind::menu_down: menu.kind = MenuInput::Kind::press; break;
        case PageInput::Kind::menu_up: menu.kind = MenuInput::Kind::release; break;
        default: return;
    }
    if (menu.kind != MenuInput::Kind::key && input.kind != PageInput::Kind::pointer_down) menu.x = input.x, menu.y = input.y;
    menu_inbox_.put(menu);
}

void WebWindow::answer_menu_request() {
    if (menu_requested_.exchange(false)) open_system_menu();
}

void WebWindow::on_input(const PageInput& input) {
    if (input.kind == PageInput::Kind::close) {
        post_message(&window_, WM_CLOSE, 0, 0);
        return;
    }
    if (menu_open_) {
        to_menu(input);
        return;
    }
    switch (input.kind) {
        case PageInput::Kind::key_down: on_key(input, true); break;
        case PageInput::Kind::key_up: on_key(input, false); break;
        case PageInput::Kind::menu: request_menu(input.x, input.y); break;
        case PageInput::Kind::menu_move:
        case PageInput::Kind::menu_down:
        case PageInput::Kind::menu_up:
        case PageInput::Kind::close: break;
        default: on_pointer(input); break;
    }
}

bool WebWindow::is_menu_key(const PageInput& input) const {
    return input.code == "F10" || input.code == "ContextMenu" || (input.alt && input.code == "Space");
}

void WebWindow::on_key(const PageInput& input, bool down) {
    if (down && window_.enabled && is_menu_key(input)) {
        request_menu(0, 0);  // from the keyboard at the client area's top-left corner
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

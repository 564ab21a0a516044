// The X server's events for one window, turned into the messages the
// window procedure knows.
#include <X11/keysym.h>

#include "platform/ui/input.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/registry.h"
#include "platform/ui/thread_queue.h"
#include "platform/ui/x11/x11_internal.h"
#include "platform/ui/x11/x11_keys.h"

namespace klv::ui {

namespace {

std::uint32_t mouse_flags(unsigned int state) {
    std::uint32_t flags = 0;
    if (state & ShiftMask) flags |= MK_SHIFT;
    if (state & ControlMask) flags |= MK_CONTROL;
    if (state & Button1Mask) flags |= MK_LBUTTON;
    if (state & Button2Mask) flags |= MK_MBUTTON;
    if (state & Button3Mask) flags |= MK_RBUTTON;
    return flags;
}

// X buttons 1, 2, 3 are left, middle, right; the wheel (4 to 7) gives nothing.
int button_index(unsigned int x_button) {
    switch (x_button) {
        case Button1: return 0;
        case Button2: return 2;
        case Button3: return 1;
        default: return -1;
    }
}

}  // namespace

void X11Window::handle(XEvent& event) {
    switch (event.type) {
        case Expose: on_expose(event.xexpose); break;
        case ConfigureNotify: on_configure(); break;
        case MapNotify:
            // Our dialogs take the keyboard when they appear.
            if (window_.style & DS_MODALFRAME) XSetInputFocus(display_.display(), id_, RevertToParent, CurrentTime);
            break;
        case KeyPress: on_key(event.xkey, true); break;
        case KeyRelease: on_key(event.xkey, false); break;
        case ButtonPress: on_button(event.xbutton, true); break;
        case ButtonRelease: on_button(event.xbutton, false); break;
        case MotionNotify: on_motion(event.xmotion); break;
        case FocusOut: keys_down_.clear(); break;
        case ClientMessage:
            if (event.xclient.message_type == display_.atoms().wm_protocols &&
                Atom(event.xclient.data.l[0]) == display_.atoms().wm_delete_window) {
                post_message(&window_, WM_CLOSE, 0, 0);
            }
            break;
        default: break;
    }
}

void X11Window::push(const InputEvent& event) { window_.owner->push_input(event); }

namespace {

int floor_div(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

// The exposed screen pixels, as the client-area pixels that cover them.
void X11Window::on_expose(const XExposeEvent& event) {
    draw_frame();
    const int scale = window_.geometry.scale;
    const int left = event.x - client_origin_.x;
    const int top = event.y - client_origin_.y;
    gdi::Rect rect{floor_div(left, scale), floor_div(top, scale), -floor_div(-(left + event.width), scale),
                   -floor_div(-(top + event.height), scale)};
    invalidate_rect(&window_, &rect, false);
}

void X11Window::on_configure() {
    // Where the client area now lies on the screen; the outer rectangle
    // follows from it with the frame the library computes.
    Display* d = display_.display();
    int root_x = 0, root_y = 0;
    ::Window child;
    XTranslateCoordinates(d, id_, DefaultRootWindow(d), client_origin_.x, client_origin_.y, &root_x, &root_y, &child);
    std::lock_guard lock(window_.mutex);
    auto& g = window_.geometry;
    const int width = g.outer.right - g.outer.left;
    const int height = g.outer.bottom - g.outer.top;
    g.outer.left = root_x - g.client_offset.x;
    g.outer.top = root_y - g.client_offset.y;
    g.outer.right = g.outer.left + width;
    g.outer.bottom = g.outer.top + height;
}

bool X11Window::take_menu_key(unsigned long keysym, unsigned int state) {
    const bool alt = state & Mod1Mask;
    if ((alt && keysym == XK_space) || keysym == XK_F10 || keysym == XK_Menu) {
        // From the keyboard the menu opens at the client area's top-left corner.
        Display* d = display_.display();
        ::Window child;
        XTranslateCoordinates(d, id_, DefaultRootWindow(d), client_origin_.x, client_origin_.y, &last_root_x_,
                              &last_root_y_, &child);
        open_system_menu();
        return true;
    }
    return false;
}

void X11Window::on_key(XKeyEvent& event, bool down) {
    char text[8] = {};
    KeySym typed = NoSymbol;
    const int length = XLookupString(&event, text, sizeof text, &typed, nullptr);
    const KeySym base = XLookupKeysym(&event, 0);
    // The keypad follows Num Lock; every other key is named by its plain keysym.
    const bool keypad = IsKeypadKey(typed) || IsKeypadKey(base);
    std::uint32_t vk = virtual_key_from_keysym(keypad ? typed : base);
    const bool alt = event.state & Mod1Mask;
    if (down && window_.enabled && take_menu_key(typed, event.state)) return;
    const int control_byte = length == 1 ? static_cast<unsigned char>(text[0]) : -1;
    const int character = down && !alt ? character_from_keysym(typed, control_byte) : -1;
    // A key the table does not name still types its character.
    if (vk == 0 && character < 0) return;
    if (vk == 0) vk = VK_PROCESSKEY;
    const bool was_down = keys_down_.count(event.keycode) > 0;
    if (down) {
        keys_down_.insert(event.keycode);
    } else {
        keys_down_.erase(event.keycode);
    }
    InputEvent input;
    input.kind = InputEvent::Kind::key;
    input.window = &window_;
    input.message = down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
    if (vk == VK_MENU) input.message = down ? WM_SYSKEYDOWN : WM_KEYUP;
    input.wparam = vk;
    input.lparam = key_lparam(vk, 1, alt, down ? was_down : true, !down);
    input.character = character;
    push(input);
}

void X11Window::on_button(const XButtonEvent& event, bool down) {
    last_root_x_ = event.x_root;
    last_root_y_ = event.y_root;
    const int button = button_index(event.button);
    if (button < 0) return;
    InputEvent input;
    input.kind = InputEvent::Kind::mouse_button;
    input.window = &window_;
    input.button = button;
    input.down = down;
    input.x = event.x - client_origin_.x;
    input.y = event.y - client_origin_.y;
    input.key_flags = mouse_flags(event.state);
    input.time_ms = std::uint32_t(event.time);
    push(input);
}

void X11Window::on_motion(const XMotionEvent& event) {
    last_root_x_ = event.x_root;
    last_root_y_ = event.y_root;
    InputEvent input;
    input.kind = InputEvent::Kind::mouse_move;
    input.window = &window_;
    input.x = event.x - client_origin_.x;
    input.y = event.y - client_origin_.y;
    input.key_flags = mouse_flags(event.state);
    input.time_ms = std::uint32_t(event.time);
    push(input);
}

void X11Window::open_system_menu() {
    const std::uint32_t id = run_system_menu(display_, window_, last_root_x_, last_root_y_);
    if (id != 0) post_message(&window_, WM_SYSCOMMAND, id, 0);
}

}  // namespace klv::ui

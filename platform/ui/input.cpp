#include "platform/ui/input.h"

#include "platform/ui/backend.h"
#include "platform/ui/registry.h"
#include "platform/ui/window_internal.h"

namespace klv::ui {

std::uint32_t button_message(int button, bool down, bool double_click) {
    const std::uint32_t first[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    return first[button] + (down ? (double_click ? 2 : 0) : 1);
}

std::uint32_t button_flag(int button) {
    const std::uint32_t flags[] = {MK_LBUTTON, MK_RBUTTON, MK_MBUTTON};
    return flags[button];
}

namespace {

// Event positions are screen pixels from the client area's corner; hit
// tests and frame drags stay in them.
bool inside_client(const Window& window, int x, int y) {
    std::lock_guard lock(window.mutex);
    const WindowGeometry& g = window.geometry;
    return x >= 0 && y >= 0 && x < g.screen_client_width() && y < g.screen_client_height();
}

// The position a message carries: the client-area pixel under the pointer,
// whatever the scale the window is shown at.
std::intptr_t client_position(const Window& window, int x, int y) {
    std::lock_guard lock(window.mutex);
    return make_lparam(x / window.geometry.scale, y / window.geometry.scale);
}

std::intptr_t screen_position(const Window& window, int x, int y) {
    std::lock_guard lock(window.mutex);
    const auto& g = window.geometry;
    return make_lparam(g.outer.left + g.client_offset.x + x, g.outer.top + g.client_offset.y + y);
}

bool key_message(const InputEvent& event, ThreadQueue& queue, Message* message) {
    *message = {event.window, event.message, event.wparam, event.lparam};
    queue.last_key = *message;
    queue.last_key_character = event.character;
    return true;
}

bool move_message(Window& window, const InputEvent& event, Message* message) {
    {
        // A frame drag: the window follows the pointer, which keeps its
        // place in the window.
        std::lock_guard lock(window.mutex);
        if (window.moving) {
            auto& outer = window.geometry.outer;
            const int dx = event.x - window.move_anchor.x;
            const int dy = event.y - window.move_anchor.y;
            outer = {outer.left + dx, outer.top + dy, outer.right + dx, outer.bottom + dy};
            return false;
        }
    }
    if (!inside_client(window, event.x, event.y)) return false;
    *message = {&window, WM_MOUSEMOVE, event.key_flags, client_position(window, event.x, event.y)};
    return true;
}

bool press_message(Window& window, const InputEvent& event, Message* message) {
    // Shift with the right button opens the system menu: the desktop gives
    // no other way to reach it with the mouse.
    if (event.button == 1 && (event.key_flags & MK_SHIFT)) {
        window.native->open_system_menu();
        return false;
    }
    const std::intptr_t hit = call_procedure(&window, WM_NCHITTEST, 0, screen_position(window, event.x, event.y));
    if (hit == HTCAPTION && event.button == 0) {
        const bool follow = window.native->start_move();
        std::lock_guard lock(window.mutex);
        window.clicks.reset();
        window.moving = follow;
        window.move_anchor = {event.x, event.y};
    }
    // A right click on the frame of a window whose frame is ours (untitled)
    // opens the system menu, as on the caption of the desktop it descends from.
    if (hit != HTCLIENT && hit != HTNOWHERE && event.button == 1) window.native->open_system_menu();
    if (hit != HTCLIENT) return false;
    bool is_double;
    {
        std::lock_guard lock(window.mutex);
        is_double = window.clicks.press(event.button, event.time_ms, event.x, event.y);
    }
    is_double = is_double && (window.window_class.style & CS_DBLCLKS);
    const std::uint32_t flags = event.key_flags | button_flag(event.button);
    *message = {&window, button_message(event.button, true, is_double), flags,
                client_position(window, event.x, event.y)};
    return true;
}

bool release_message(Window& window, const InputEvent& event, Message* message) {
    {
        std::lock_guard lock(window.mutex);
        if (window.moving && event.button == 0) {
            window.moving = false;
            return false;
        }
    }
    if (event.button == 1 && (event.key_flags & MK_SHIFT)) return false;
    if (!inside_client(window, event.x, event.y)) return false;
    const std::uint32_t flags = event.key_flags & ~button_flag(event.button);
    *message = {&window, button_message(event.button, false, false), flags, client_position(window, event.x, event.y)};
    return true;
}

}  // namespace

bool message_from_input(const InputEvent& event, ThreadQueue& queue, Message* message) {
    auto window = find_window(event.window);
    if (!window || window->owner.get() != &queue || !window->enabled) return false;
    switch (event.kind) {
        case InputEvent::Kind::key: return key_message(event, queue, message);
        case InputEvent::Kind::mouse_move: return move_message(*window, event, message);
        case InputEvent::Kind::mouse_button:
            if (event.button < 0 || event.button > 2) return false;
            return event.down ? press_message(*window, event, message) : release_message(*window, event, message);
    }
    return false;
}

}  // namespace klv::ui

// A window's title text and style, from any thread.
#include "platform/ui/registry.h"
#include "platform/ui/window_internal.h"

namespace klv::ui {

// The text travels as a pointer: send_message returns only once the
// window's thread has taken its copy.
bool set_window_text(Window* handle, const char* text) {
    if (!find_window(handle)) {
        set_last_error(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    send_message(handle, WM_SETTEXT, 0, reinterpret_cast<std::intptr_t>(text != nullptr ? text : ""));
    return true;
}

// The style is set when the window is made and never changes.
std::uint32_t window_style(Window* handle) {
    auto window = find_window(handle);
    return window ? window->style : 0;
}

}  // namespace klv::ui

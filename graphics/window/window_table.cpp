#include "graphics/window/window_state.h"

namespace klv {

constinit thread_local WindowState* window_thread_state = nullptr;
std::atomic<int> handlers_running{0};

WindowState* open_window_state(int index) {
    const WindowTable& table = window_table();
    if (index < 0 || index >= table.windows_opened) return nullptr;
    return table.window_states[std::size_t(index)];
}

WindowState* current_window_or_null() {
    if (WindowState* own = handler_window_state()) return own;
    return open_window_state(window_table().current_window);
}

}  // namespace klv

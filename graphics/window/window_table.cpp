#include "graphics/window/window_state.h"

namespace klv {

// Never destroyed: threads of windows still open when the program ends run
// on until the process ends with them.
WindowTable& window_table() {
    static WindowTable* table = new WindowTable;
    return *table;
}

WindowState* open_window_state(int index) {
    const WindowTable& table = window_table();
    if (index < 0 || index >= table.windows_opened) return nullptr;
    ui::Window* window = table.window_handles[std::size_t(index)];
    return window != nullptr ? static_cast<WindowState*>(ui::user_data(window)) : nullptr;
}

WindowState* current_window_or_null() { return open_window_state(window_table().current_window); }

}  // namespace klv

// Choosing the window that drawing goes to, and its title.
#include "graphics/draw/drawing_context.h"
#include "graphics/errors/error_record.h"

using namespace klv;

extern "C" void set_current_window(int index) {
    if (window_thread_state != nullptr || open_window_state(index) == nullptr)
        return record_error(KLV_ERROR_BAD_ARGUMENT);
    window_table().current_window = index;
}

extern "C" int get_current_window(void) {
    if (window_thread_state != nullptr) return window_thread_state->index;
    return current_window_or_null() != nullptr ? window_table().current_window : -1;
}

// The window's thread takes the title (for its title bar, and for printing).
extern "C" void set_window_title(const char* title) {
    ui::set_window_text(current_window_state(nullptr)->hwnd, title != nullptr ? title : "");
}

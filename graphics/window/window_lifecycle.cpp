// open_window and close_window: the caller's side of a window's life.
#include <functional>
#include <memory>
#include <new>
#include <thread>

#include "graphics/draw/colors.h"
#include "graphics/draw/fill_styles.h"
#include "graphics/draw/primitives.h"
#include "graphics/draw/viewport.h"
#include "graphics/errors/error_record.h"
#include "graphics/klv.h"
#include "graphics/record/window_recording.h"
#include "graphics/window/library_class.h"
#include "graphics/window/window_thread.h"

namespace klv {

namespace {

// Every coordinate of a page must fit the 16-bit positions of mouse
// messages, and the four 32-bit pages must stay within 2 GiB together.
constexpr int largest_window_side = 32767;
constexpr long long largest_page_pixels = 1LL << 27;

bool valid_window_size(int width, int height) {
    return width > 0 && height > 0 && width <= largest_window_side && height <= largest_window_side &&
           (long long)width * height <= largest_page_pixels;
}

// Starts the window thread; the thread when the window and its pages exist.
// On failure the record is destroyed and the thread is not joinable.
std::thread start_window_thread(WindowState* state) {
    auto creation = std::make_shared<WindowCreation>();
    std::thread thread;
    try {
        thread = std::thread([state, creation] {
            window_thread_main(state, creation);
            creation->mark_thread_ended();
        });
    } catch (const std::system_error&) {
        report_system_error(nullptr);
        delete state;
        return {};
    }
    state->thread_id = std::hash<std::thread::id>{}(thread.get_id());
    if (!creation->wait()) {
        thread.join();
        delete state;
        return {};
    }
    return thread;
}

int register_window(WindowState* state, std::thread thread) {
    WindowTable& table = window_table();
    const int index = table.windows_opened;
    table.window_handles.push_back(state->hwnd);
    table.window_states.push_back(state);
    table.window_threads.push_back(std::move(thread));
    ++table.windows_opened;
    table.current_window = index;
    return index;
}

// A new window starts with drawing colour 15 and a solid fill in colour 15 on
// an active page filled with colour 0.
void clear_active_page(const WindowState* state) {
    set_color(0);
    set_fill_style(1, 0);
    fill_bar(0, 0, state->width - 1, state->height - 1);
    set_color(15);
    set_fill_style(1, 15);
}

}  // namespace

}  // namespace klv

using namespace klv;

// Only the caller's thread changes the table of windows: from a window's own
// thread (a mouse handler) opening and closing windows is refused.
extern "C" int open_window(int width, int height, const char* title, int left, int top, bool double_buffer,
                           bool close_exits) {
    if (window_thread_state != nullptr) {
        record_error(KLV_ERROR_BAD_ARGUMENT);
        return -1;
    }
    if (!init_library(nullptr, 1)) return -1;
    if (!valid_window_size(width, height)) {
        report_system_error("The window size must be between 1 and 32767 pixels on each side, and at most 134217728 pixels in all.");
        return -1;
    }
    auto* state = new (std::nothrow) WindowState;
    if (state == nullptr) return -1;
    state->width = width;
    state->height = height;
    state->left = left;
    state->top = top;
    state->title = title != nullptr ? title : "";
    state->index = window_table().windows_opened;
    // Stored before the thread starts: a close request may come at once.
    state->double_buffer = double_buffer;
    state->close_exits = close_exits;
    std::thread thread = start_window_thread(state);
    if (!thread.joinable()) return -1;
    const int index = register_window(state, std::move(thread));
    reset_defaults();
    clear_active_page(state);
    record_from_environment();
    return index;
}

extern "C" void close_window(int index) {
    if (window_thread_state != nullptr) return record_error(KLV_ERROR_BAD_ARGUMENT);
    WindowTable& table = window_table();
    if (index == current_window_index) index = table.current_window;
    if (index == all_windows_index) {
        for (int i = 0; i < table.windows_opened; ++i) close_window(i);
        return;
    }
    if (index < 0 || index >= table.windows_opened) return;
    ui::Window*& handle = table.window_handles[std::size_t(index)];
    if (handle == nullptr) return;
    table.window_states[std::size_t(index)] = nullptr;
    ui::send_message(handle, ui::WM_DESTROY, 0, 0);
    // The thread frees the record and its windows before close_window
    // returns, so nothing of the window outlives it (the end of the program
    // included).
    std::thread& thread = table.window_threads[std::size_t(index)];
    if (thread.joinable() && thread.get_id() != std::this_thread::get_id()) thread.join();
    handle = nullptr;
    if (index == table.current_window) table.current_window = no_current_window;
}

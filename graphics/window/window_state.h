// The per-window record shared by the caller's thread and the window thread,
// and the table of windows.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "graphics/window/auto_reset_event.h"
#include "graphics/window/key_queue.h"
#include "graphics/window/page_mutex.h"
#include "platform/gdi/gdi.h"
#include "platform/ui/ui.h"

namespace klv {

constexpr int page_count = 4;
constexpr int mouse_kind_count = 10;

using MouseHandler = void (*)(int x, int y);

class Recording;

// Positions of one mouse kind, packed as the message's lparam.
struct ClickQueue {
    std::deque<std::uint32_t> positions;
};

struct WindowState {
    std::int32_t index = -1;  // its number in the table, set before its thread starts
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::string title;
    KeyQueue key_queue;
    std::int32_t fill_pattern = 0;
    std::int32_t fill_color = 0;
    std::int32_t line_style = 0;
    std::int32_t line_pattern = 0;
    std::int32_t line_thickness = 1;
    std::int32_t write_mode = 0;  // KLV_DRAW_COPY or KLV_DRAW_XOR, for lines and outlines
    std::int32_t text_font = 0;
    std::int32_t text_direction = 0;
    std::int32_t text_char_size = 0;
    std::int32_t text_h_justify = 0;
    std::int32_t text_v_justify = 0;
    std::int32_t viewport_left = 0;
    std::int32_t viewport_top = 0;
    std::int32_t viewport_right = 0;
    std::int32_t viewport_bottom = 0;
    std::int32_t viewport_clip = 0;
    ui::Window* hwnd = nullptr;
    std::array<gdi::DeviceContext*, page_count> page_dc{};
    std::array<gdi::Object*, page_count> page_initial_bitmap{};
    std::int32_t visual_page = 0;
    std::int32_t active_page = 0;
    bool double_buffer = false;
    bool close_exits = false;
    std::int32_t draw_color = 0;
    std::int32_t bk_color = 0;
    AutoResetEvent key_event;
    std::uint64_t thread_id = 0;
    std::int32_t last_error = 0;
    std::int32_t ratio_x = 0;
    std::int32_t ratio_y = 0;
    std::int32_t text_mult_x = 1;
    std::int32_t text_div_x = 1;
    std::int32_t text_mult_y = 1;
    std::int32_t text_div_y = 1;
    std::int32_t text_align_pending = 0;
    // The latest mouse position, packed as the message packs it (x low, y high).
    std::uint32_t mouse_position = 0;
    std::array<ClickQueue, mouse_kind_count> click_queue{};
    std::array<bool, mouse_kind_count> keep_all_clicks{};
    std::array<MouseHandler, mouse_kind_count> mouse_handler{};
    // Guards the mouse fields above between the window thread, which records
    // events, and readers on other threads. Never held while a handler runs.
    std::mutex mouse_mutex;
    bool auto_refresh = false;
    // Guards the pages and everything selected into their device contexts.
    PageMutex mutex;
    // Under the mutex: what drawing changed on the shown page since the
    // window thread last painted (device pixels, clipped to the page; empty
    // when nothing), and whether the window was told it has something to show.
    gdi::Rect unshown_area{};
    bool paint_requested = false;
    // Under the mutex: the visual page changed or was asked to be shown
    // whole (a swap, a change of visual page, redraw_window) since the last
    // paint; and the recording of what the window shows, when one is on.
    bool picture_changed = false;
    std::shared_ptr<Recording> recording;
    // Set once the pages are freed; the pages are never touched afterwards.
    bool pages_released = false;
};

// The table of windows; used on the caller's thread only.
struct WindowTable {
    std::vector<ui::Window*> window_handles;
    // Element i is window i's record while it is open, else null: drawing
    // finds the current window's record here without asking the window.
    std::vector<WindowState*> window_states;
    // Element i runs window i; joined when that window is closed.
    std::vector<std::thread> window_threads;
    std::int32_t windows_opened = 0;
    std::int32_t current_window = -3;
};

// Never destroyed: threads of windows still open when the program ends run
// on until the process ends with them.
inline WindowTable& window_table() {
    static WindowTable* table = new WindowTable;
    return *table;
}

// On a window's own thread (where its mouse handlers run): that window's
// record; elsewhere null. Calls made there act on that window and never read
// the table, which the caller's thread changes without a lock.
extern constinit thread_local WindowState* window_thread_state;
// The mouse handlers running now, on any window's thread. Drawing calls look
// at the thread-local record only while one runs: most calls then cost no
// thread-local lookup (a function call on Windows).
extern std::atomic<int> handlers_running;
// The calling thread's window when a handler runs on it, else null.
inline WindowState* handler_window_state() {
    return handlers_running.load(std::memory_order_relaxed) != 0 ? window_thread_state : nullptr;
}

// The record of open window number index, or null when that index names no
// open window.
WindowState* open_window_state(int index);
// The current window's record, or null when no window is current. For
// queries that answer without a window; drawing goes through
// current_window_state, which ends the program instead.
WindowState* current_window_or_null();

// Index values with a meaning of their own.
constexpr int current_window_index = -1;
constexpr int all_windows_index = -2;
constexpr int no_current_window = -3;

}  // namespace klv

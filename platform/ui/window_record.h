// The record behind a window handle, and the entries of its system menu.
// Internal to platform/ui.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/ui/double_click.h"
#include "platform/ui/ui.h"

namespace klv::ui {

class ThreadQueue;
class NativeWindow;

struct MenuEntry {
    std::uint32_t id = 0;
    std::string text;
    bool separator = false;
    friend bool operator==(const MenuEntry&, const MenuEntry&) = default;
};

// Where the client area lies: the outer rectangle on the screen and the
// client area's offset inside it. The client area is client_width by
// client_height pixels, each shown as a scale by scale block of screen
// pixels; the frame and caption are not scaled.
struct WindowGeometry {
    gdi::Rect outer;
    gdi::Point client_offset;
    int client_width = 0;
    int client_height = 0;
    int scale = 1;

    int screen_client_width() const { return client_width * scale; }
    int screen_client_height() const { return client_height * scale; }
};

struct Window {
    WindowClass window_class;
    std::string title;
    std::uint32_t style = 0;
    std::shared_ptr<ThreadQueue> owner;  // the creating thread's queue
    Window* parent = nullptr;            // the window this one is a dialog of, when it is one
    std::atomic<void*> user_data{nullptr};
    std::atomic<bool> destroyed{false};
    std::atomic<bool> enabled{true};  // false while a dialog of the window is open: no input

    // Guards everything below; never held while a procedure runs.
    mutable std::mutex mutex;
    WindowGeometry geometry;
    bool visible = false;
    std::optional<gdi::Rect> invalid;  // coalesced: the bounding rectangle
    bool erase_pending = false;
    std::deque<std::optional<gdi::Rect>> invalidation_log;  // for tests, the latest 100000
    std::chrono::steady_clock::time_point last_paint{};     // when WM_PAINT was last given
    std::vector<MenuEntry> system_menu;
    ClickTracker clicks;
    std::vector<gdi::Pixel> presented;  // what the user sees, client size on the screen (scaled)
    bool moving = false;                // headless frame drag in progress
    gdi::Point move_anchor;

    // Owned by the window's thread only.
    gdi::Bitmap* screen_bitmap = nullptr;  // the image paints draw into
    std::unique_ptr<NativeWindow> native;

    gdi::Rect client_rect() const { return {0, 0, geometry.client_width, geometry.client_height}; }
};

// The system's own entries, which every system menu starts with.
std::vector<MenuEntry> standard_system_menu();

}  // namespace klv::ui

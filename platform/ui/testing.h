// Test support: what a user would see of a window and what a user does to
// it, for tests on the headless backend (most of it works on X11 too: input
// is injected into the window's queue as the desktop would deliver it).
// Every function may be called from any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/gdi/gdi_types.h"
#include "platform/ui/ui.h"

namespace klv::ui::testing {

struct MenuItem {
    std::uint32_t id = 0;
    std::string text;
    bool separator = false;
    friend bool operator==(const MenuItem&, const MenuItem&) = default;
};

std::vector<Window*> live_windows();  // in creation order
bool is_live(Window* window);
gdi::Rect outer_rect(Window* window);  // screen coordinates
gdi::Size client_size(Window* window);
std::string title(Window* window);
bool is_visible(Window* window);

// What the user sees: the client area as the last paints left it (black at
// first), in screen pixels: at scale s each client-area pixel is an s by s
// block. Pixels are 0x00RRGGBB; outside the client area, 0.
gdi::Pixel screen_pixel(Window* window, int x, int y);
std::vector<gdi::Pixel> screen_pixels(Window* window);  // rows top first
gdi::Size screen_size(Window* window);                  // the client area on the screen

// Every rectangle passed to invalidate_rect since the last call (nullopt
// for a null rectangle: the whole client area).
std::vector<std::optional<gdi::Rect>> take_invalidations(Window* window);

// True once the window's thread waits with nothing queued and nothing left
// to paint; false after the time-out or when the window is gone.
bool wait_until_idle(Window* window, int timeout_ms = 5000);

// Messages sent to the window's thread that it has not begun to handle.
std::size_t sends_waiting(Window* window);

// The close box: WM_CLOSE.
void request_close(Window* window);

std::vector<MenuItem> system_menu(Window* window);
// The user chooses a system-menu entry: WM_SYSCOMMAND with its id.
void choose_system_command(Window* window, std::uint32_t id);

// A key press: WM_KEYDOWN, which translate_message turns into WM_CHAR when
// the key has a character (letters give lower case).
void press_key(Window* window, std::uint32_t virtual_key, int repeat_count = 1);
// A character key: WM_KEYDOWN for it, translated into WM_CHAR with `byte`.
void type_character(Window* window, std::uint8_t byte, int repeat_count = 1);
// A key held with Alt: WM_SYSKEYDOWN (Alt+F4 closes, as on the desktop).
void press_alt_key(Window* window, std::uint32_t virtual_key);

// Mouse input in screen pixels from the client area's top-left corner
// (outside the client area: the frame); at scale s the messages carry them
// divided by s.
// key_flags are MK_SHIFT, MK_CONTROL and the other buttons held; a press
// adds its own button. time_ms drives the double-click rule; without it the
// steady clock's milliseconds.
void mouse_move(Window* window, int x, int y, std::uint32_t key_flags = 0);
void mouse_button(Window* window, int button, bool down, int x, int y, std::uint32_t key_flags = 0,
                  std::optional<std::uint32_t> time_ms = std::nullopt);

// Every message box shown by a process on the headless backend: (caption, text).
std::vector<std::pair<std::string, std::string>> message_boxes_shown();

}  // namespace klv::ui::testing

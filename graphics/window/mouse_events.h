// Mouse messages of the client area, recorded per kind with the latest
// position, and the handlers called for them.
#pragma once

#include <cstdint>

#include "graphics/window/window_state.h"

namespace klv {

// Runs on the window thread for WM_MOUSEMOVE to WM_MBUTTONDBLCLK.
void record_mouse_event(WindowState* state, std::uint32_t message, std::intptr_t lparam);

}  // namespace klv

extern "C" {
int has_mouse_event(int kind);
int take_mouse_event(int kind, int* x, int* y);
void clear_mouse_events(int kind);
void keep_mouse_events(int kind, int keep);
void set_mouse_handler(int kind, void (*handler)(int x, int y));
int get_mouse_x(void);
int get_mouse_y(void);
}

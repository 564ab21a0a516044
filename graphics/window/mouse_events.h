// Mouse messages of the client area, recorded per kind with the latest
// position, and the handlers called for them.
#pragma once

#include "graphics/klv.h"

#include <cstdint>

#include "graphics/window/window_state.h"

namespace klv {

// Runs on the window thread for WM_MOUSEMOVE to WM_MBUTTONDBLCLK.
void record_mouse_event(WindowState* state, std::uint32_t message, std::intptr_t lparam);

}  // namespace klv


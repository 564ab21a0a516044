// Functions the parts of platform/ui share. Internal to platform/ui.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/ui/window_record.h"

namespace klv::ui {

// The window, when it is alive and belongs to the calling thread; else null
// with last_error ERROR_INVALID_WINDOW_HANDLE.
std::shared_ptr<Window> owned_window(Window* handle);

// Runs the window's procedure on the calling thread.
std::intptr_t call_procedure(Window* window, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam);

// Frees what the window holds, without calling its procedure.
void release_window(Window& window);

// The outer rectangle, client offset and client size that a style gives.
WindowGeometry geometry_for_style(std::uint32_t style, int x, int y, int width, int height);

// Copies the rectangle of the screen image to what the user sees.
void present_rect(Window& window, gdi::Rect rect);

}  // namespace klv::ui

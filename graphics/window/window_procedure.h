// The one window procedure of the library's windows: paint, close requests,
// clean-up, the frame drag of untitled windows, the system-menu commands and
// the hand-over of keyboard and mouse input.
#pragma once

#include <cstdint>

#include "graphics/window/window_state.h"

namespace klv {

// System-menu command ids.
constexpr std::uint32_t print_2_inch_command = 1;
constexpr std::uint32_t print_4_5_inch_command = 2;
constexpr std::uint32_t print_7_inch_command = 3;
constexpr std::uint32_t save_image_menu_command = 4;

std::intptr_t window_procedure(ui::Window* window, std::uint32_t message, std::uintptr_t wparam,
                               std::intptr_t lparam);

void paint_window(ui::Window* window);
void release_window_resources(ui::Window* window);
// Frees the pages' device contexts and bitmaps; the caller holds the mutex.
void free_pages(WindowState* state);

}  // namespace klv

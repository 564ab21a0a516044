// "Save image as...": a region of one of a window's pages as a BMP file.
#pragma once

#include "platform/ui/ui.h"

namespace klv {

// Saves the region (inclusive corners; 0x7FFFFFFF as right or bottom means
// the page's last column or row) of the visual page, or of the active page
// when use_active_page is set, of window (null: the current window). With no
// file name the user picks one in the save-file dialog; cancelling it saves
// nothing. Reports nothing: the writer's code is dropped.
void save_image_command(const char* file_name, int left, int top, int right, int bottom, bool use_active_page,
                        ui::Window* window);

}  // namespace klv

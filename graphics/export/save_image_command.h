// The "Save image as..." command: a page region written as a BMP file.
#pragma once

#include "platform/ui/ui.h"

namespace klv {

void save_image_command(const char* file_name, int left, int top, int right, int bottom, bool use_active_page,
                        ui::Window* window);

}  // namespace klv

// The "Print ... wide" commands: a page region printed under a title.
#pragma once

#include "platform/ui/ui.h"

namespace klv {

void print_command(const char* title, double width, double left_margin, double top_margin, int left, int top,
                   int right, int bottom, bool use_active_page, ui::Window* window);

}  // namespace klv

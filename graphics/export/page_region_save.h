// Saving a rectangle of one of a window's pages as a BMP or PNG file.
#pragma once

#include <cstdint>

#include "graphics/window/window_state.h"

namespace klv {

// The region's corners are inclusive device pixels of the page (the
// viewport origin does not move them), pulled back into the page and put in
// order when reversed. Waits up to five seconds for the window's pages and
// holds them until the file is written: a PNG file when the name ends in
// ".png" (any case), else a BMP file. Returns write_dib_file's code (the
// PNG writer gives the same codes), or
// dib_missing (20, no file touched) when the pages could not be had in time,
// are gone, or the copy could not be made.
std::uint16_t save_page_region(WindowState& state, const char* file_name, int left, int top, int right,
                               int bottom, bool use_active_page);

}  // namespace klv

// PNG files of page regions.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/objects.h"

namespace klv {

// True when the name ends in ".png", in any case.
bool is_png_file_name(const char* file_name);

// The bytes of a PNG file of the 32-bit bitmap: 8-bit RGB, or, when the
// bitmap has 256 colours or fewer (a chart), a palette image of 1, 2, 4 or
// 8 bits per pixel. False when the memory cannot be had.
bool encode_png(const gdi::Bitmap& bitmap, std::vector<std::uint8_t>* bytes);

}  // namespace klv

// Copying part of an image to the screen at a whole-number scale: every
// pixel becomes a sharp scale by scale block (nearest neighbour).
#pragma once

#include <cstddef>

#include "platform/gdi/objects.h"

namespace klv::ui {

// Copies `rect` of `image` (inside it) to `destination`, whose first pixel
// is screen pixel (0, 0) of the image and whose rows are `stride` pixels
// apart: image pixel (x, y) fills screen pixels (scale * x, scale * y) to
// (scale * x + scale - 1, scale * y + scale - 1).
void copy_scaled(const gdi::Bitmap& image, const gdi::Rect& rect, int scale, gdi::Pixel* destination,
                 std::ptrdiff_t stride);

}  // namespace klv::ui

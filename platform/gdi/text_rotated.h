// Text at an angle that is not a whole quarter turn: glyphs rendered
// turned, cells filled as turned rectangles.
#pragma once

#include <cstdint>

#include "platform/gdi/device_context.h"
#include "platform/gdi/font_face.h"

namespace klv::gdi {

// Draws a line `length_px` long whose alignment point is device (x, y), on
// the context's 32-bit bitmap inside `drawable`.
void draw_turned_line(DeviceContext& dc, const Rect& drawable, FontFace& face, const unsigned char* text,
                      int count, std::int64_t length_px, std::int64_t x, std::int64_t y);

}  // namespace klv::gdi

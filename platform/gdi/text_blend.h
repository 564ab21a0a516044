// Putting text pixels on a 32-bit bitmap: cell backgrounds and glyph
// coverage blended in the text colour.
#pragma once

#include "platform/gdi/glyph_strike.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/text_geometry.h"

namespace klv::gdi {

// Sets every pixel of `area` (device pixels, already inside the bitmap).
void fill_pixels(Bitmap& bitmap, const WideRect& area, Pixel pixel);

// Blends coverage (rows top first, as wide as `box`) that covers `box` in
// `colour`, touching only device pixels inside `drawable`.
void blend_coverage(Bitmap& bitmap, const Rect& drawable, const WideRect& box, const std::uint8_t* coverage,
                    Pixel colour);

// Blends `glyph` as stored with its top-left coverage pixel at device (x, y).
void blend_glyph_at(Bitmap& bitmap, const Rect& drawable, std::int64_t x, std::int64_t y, const Glyph& glyph,
                    Pixel colour);

// `colour` over `under` at coverage `alpha` (0 to 255).
inline Pixel blend_pixel(Pixel under, Pixel colour, unsigned alpha) {
    unsigned over = alpha + (alpha >> 7);  // 0 to 256
    unsigned keep = 256 - over;
    Pixel red_blue = (((colour & 0xFF00FFu) * over + (under & 0xFF00FFu) * keep) >> 8) & 0xFF00FFu;
    Pixel green = (((colour & 0x00FF00u) * over + (under & 0x00FF00u) * keep) >> 8) & 0x00FF00u;
    return red_blue | green;
}

}  // namespace klv::gdi

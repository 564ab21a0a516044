#include "platform/gdi/text_blend.h"

#include <algorithm>

namespace klv::gdi {

void fill_pixels(Bitmap& bitmap, const WideRect& area, Pixel pixel) {
    if (area.is_empty()) return;
    for (std::int64_t y = area.top; y < area.bottom; ++y) {
        Pixel* row = bitmap.row(int(y));
        std::fill(row + area.left, row + area.right, pixel);
    }
}

void blend_glyph(Bitmap& bitmap, const Rect& drawable, const LinePlacement& line, std::int64_t u, std::int64_t v,
                 const Glyph& glyph, Pixel colour) {
    if (glyph.coverage.empty()) return;
    WideRect box = intersect(line.device_box(u, v, u + glyph.width, v + glyph.rows), drawable);
    if (box.is_empty()) return;
    std::int64_t first_u = 0, first_v = 0;
    line.text_pixel(box.left, box.top, first_u, first_v);
    // Walking the device box row by row walks the coverage along these steps.
    const std::ptrdiff_t width = glyph.width;
    const std::ptrdiff_t step_x = line.xv * width + line.xu;
    const std::ptrdiff_t step_y = line.yv * width + line.yu;
    const std::uint8_t* start = glyph.coverage.data() + (first_v - v) * width + (first_u - u);
    const std::int64_t columns = box.right - box.left;
    for (std::int64_t y = box.top; y < box.bottom; ++y, start += step_y) {
        Pixel* out = bitmap.row(int(y)) + box.left;
        const std::uint8_t* in = start;
        for (std::int64_t x = 0; x < columns; ++x, in += step_x) {
            unsigned alpha = *in;
            if (alpha == 0) continue;
            out[x] = alpha == 255 ? colour : blend_pixel(out[x], colour, alpha);
        }
    }
}

void blend_glyph_at(Bitmap& bitmap, const Rect& drawable, std::int64_t x, std::int64_t y, const Glyph& glyph,
                    Pixel colour) {
    LinePlacement unturned;
    unturned.origin_x = x;
    unturned.origin_y = y;
    blend_glyph(bitmap, drawable, unturned, 0, 0, glyph, colour);
}

}  // namespace klv::gdi

#include "platform/gdi/text_blend.h"

#include <algorithm>
#include <cstring>

namespace klv::gdi {

namespace {

// Four pixels at a time, in the compiler's portable vector types.
using Lanes = std::uint32_t __attribute__((vector_size(16)));

Lanes load_lanes(const Pixel* p) {
    Lanes v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void store_lanes(Pixel* p, Lanes v) { std::memcpy(p, &v, sizeof v); }

// One row of an unturned glyph. Runs of four uncovered pixels are skipped
// and runs of four fully covered ones set; others are blended four at once.
void blend_row(Pixel* out, const std::uint8_t* coverage, std::int64_t count, Pixel colour) {
    const Lanes colour_rb = Lanes{} + (colour & 0xFF00FFu), colour_g = Lanes{} + (colour & 0x00FF00u);
    std::int64_t x = 0;
    for (; x + 4 <= count; x += 4) {
        std::uint32_t four;
        std::memcpy(&four, coverage + x, 4);
        if (four == 0) continue;
        if (four == 0xFFFFFFFFu) {
            store_lanes(out + x, Lanes{} + colour);
            continue;
        }
        Lanes over = {coverage[x], coverage[x + 1], coverage[x + 2], coverage[x + 3]};
        over += over >> 7;  // 0 to 256
        Lanes keep = 256 - over;
        Lanes under = load_lanes(out + x);
        Lanes rb = ((colour_rb * over + (under & 0xFF00FFu) * keep) >> 8) & 0xFF00FFu;
        Lanes g = ((colour_g * over + (under & 0x00FF00u) * keep) >> 8) & 0x00FF00u;
        store_lanes(out + x, rb | g);
    }
    for (; x < count; ++x) out[x] = blend_pixel(out[x], colour, coverage[x]);
}

void fill_row(Pixel* out, std::int64_t count, Pixel pixel) {
    const Lanes four = Lanes{} + pixel;
    std::int64_t x = 0;
    for (; x + 4 <= count; x += 4) store_lanes(out + x, four);
    for (; x < count; ++x) out[x] = pixel;
}

}  // namespace

void fill_pixels(Bitmap& bitmap, const WideRect& area, Pixel pixel) {
    if (area.is_empty()) return;
    for (std::int64_t y = area.top; y < area.bottom; ++y) {
        fill_row(bitmap.row(int(y)) + area.left, area.right - area.left, pixel);
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
        if (step_x == 1) {
            blend_row(out, start, columns, colour);
            continue;
        }
        const std::uint8_t* in = start;
        for (std::int64_t x = 0; x < columns; ++x, in += step_x) out[x] = blend_pixel(out[x], colour, *in);
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

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

void blend_coverage(Bitmap& bitmap, const Rect& drawable, const WideRect& box, const std::uint8_t* coverage,
                    Pixel colour) {
    WideRect visible = intersect(box, drawable);
    if (visible.is_empty()) return;
    const std::int64_t width = box.right - box.left;
    const std::uint8_t* row = coverage + (visible.top - box.top) * width + (visible.left - box.left);
    for (std::int64_t y = visible.top; y < visible.bottom; ++y, row += width)
        blend_row(bitmap.row(int(y)) + visible.left, row, visible.right - visible.left, colour);
}

void blend_glyph_at(Bitmap& bitmap, const Rect& drawable, std::int64_t x, std::int64_t y, const Glyph& glyph,
                    Pixel colour) {
    if (glyph.coverage.empty()) return;
    blend_coverage(bitmap, drawable, {x, y, x + glyph.width, y + glyph.rows}, glyph.coverage.data(), colour);
}

}  // namespace klv::gdi

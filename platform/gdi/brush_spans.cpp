#include "platform/gdi/brush_spans.h"

#include <algorithm>
#include <cstring>

namespace klv::gdi {

std::array<std::uint8_t, 8> hatch_rows(int hatch_style) {
    std::array<std::uint8_t, 8> rows{};
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            bool line = false;
            switch (hatch_style) {
                case HS_HORIZONTAL: line = y == 3; break;
                case HS_VERTICAL: line = x == 4; break;
                case HS_FDIAGONAL: line = x == y; break;
                case HS_BDIAGONAL: line = x + y == 7; break;
                case HS_CROSS: line = y == 3 || x == 4; break;
                case HS_DIAGCROSS: line = x == y || x + y == 7; break;
                default: break;
            }
            if (line) rows[std::size_t(y)] |= std::uint8_t(0x80 >> x);
        }
    }
    return rows;
}

BrushSpans::BrushSpans(const Brush& brush, const DeviceContext& dc) : flip_(dc.rop2 == R2_XORPEN) {
    std::array<std::uint8_t, 8> bits{};
    Pixel set_color = 0, clear_color = 0;
    switch (brush.style()) {
        case BS_SOLID:
            kind_ = Kind::solid;
            color_ = pixel_from_color(brush.color());
            return;
        case BS_HATCHED:
            bits = hatch_rows(brush.hatch());
            set_color = pixel_from_color(brush.color());
            clear_color = pixel_from_color(dc.background_color);
            kind_ = dc.background_mode == TRANSPARENT ? Kind::masked : Kind::pattern;
            paint_mask_ = bits;
            break;
        case BS_PATTERN:
            bits = brush.pattern_rows();
            set_color = pixel_from_color(dc.background_color);
            clear_color = pixel_from_color(dc.text_color);
            kind_ = Kind::pattern;
            break;
        default: return;
    }
    for (std::size_t y = 0; y < 8; ++y)
        for (std::size_t x = 0; x < 16; ++x)
            rows_[y][x] = (bits[y] >> (7 - x % 8)) & 1 ? set_color : clear_color;
}

void BrushSpans::paint(Pixel* row, std::int64_t y, std::int64_t x0, std::int64_t x1) const {
    if (x0 >= x1 || kind_ == Kind::none) return;
    if (flip_) {
        flip(row, y, x0, x1);
        return;
    }
    switch (kind_) {
        case Kind::none: return;
        case Kind::solid: paint_run(row + x0, x1 - x0, color_); return;
        case Kind::pattern: {
            const Pixel* cells = rows_[std::size_t(y & 7)].data();
            std::int64_t x = x0;
            for (; x + 8 <= x1; x += 8) std::memcpy(row + x, cells + (x & 7), 8 * sizeof(Pixel));
            for (; x < x1; ++x) row[x] = cells[x & 7];
            return;
        }
        case Kind::masked: {
            const Pixel* cells = rows_[std::size_t(y & 7)].data();
            std::uint8_t mask = paint_mask_[std::size_t(y & 7)];
            for (std::int64_t x = x0; x < x1; ++x)
                if ((mask >> (7 - (x & 7))) & 1) row[x] = cells[x & 7];
            return;
        }
    }
}

// Under R2_XORPEN every pixel the brush would paint is flipped by it.
void BrushSpans::flip(Pixel* row, std::int64_t y, std::int64_t x0, std::int64_t x1) const {
    const Pixel* cells = rows_[std::size_t(y & 7)].data();
    const std::uint8_t mask = kind_ == Kind::masked ? paint_mask_[std::size_t(y & 7)] : 0xFF;
    for (std::int64_t x = x0; x < x1; ++x) {
        if (kind_ == Kind::solid)
            row[x] ^= color_;
        else if ((mask >> (7 - (x & 7))) & 1)
            row[x] ^= cells[x & 7];
    }
}

void BrushSpans::paint_clipped(const Canvas& canvas, std::int64_t y, std::int64_t x0, std::int64_t x1) const {
    if (y < canvas.top || y >= canvas.bottom) return;
    paint(canvas.row(y), y, std::max(x0, canvas.left), std::min(x1, canvas.right));
}

}  // namespace klv::gdi

// Painting horizontal runs with a brush. Patterns are 8 by 8 and anchored
// at device pixel (0, 0): pixel (X, Y) takes cell (X mod 8, Y mod 8), so the
// viewport origin and the shape never move them and neighbouring fills tile.
#pragma once

#include <array>
#include <cstdint>

#include "platform/gdi/canvas.h"
#include "platform/gdi/objects.h"

namespace klv::gdi {

class BrushSpans {
public:
    // The colours a fill uses are read now: a hatch's gaps take the
    // background colour (left alone in TRANSPARENT mode); a pattern's 0 bits
    // take the text colour and its 1 bits the background colour, in any mode.
    BrushSpans(const Brush& brush, const DeviceContext& dc);

    bool paints_nothing() const { return kind_ == Kind::none; }
    // Every pixel of a run becomes a brush colour, whatever it was.
    bool covers_every_pixel() const { return (kind_ == Kind::solid || kind_ == Kind::pattern) && !flip_; }
    bool is_solid() const { return kind_ == Kind::solid && !flip_; }  // every pixel := solid_color()
    Pixel solid_color() const { return color_; }
    // Columns [x0, x1) of row y, already cut to the drawable area; under
    // R2_XORPEN the brush's colours flip the pixels instead.
    void paint(Pixel* row, std::int64_t y, std::int64_t x0, std::int64_t x1) const;
    // Columns [x0, x1) of row y, cut here.
    void paint_clipped(const Canvas& canvas, std::int64_t y, std::int64_t x0, std::int64_t x1) const;

private:
    void flip(Pixel* row, std::int64_t y, std::int64_t x0, std::int64_t x1) const;

    enum class Kind { none, solid, pattern, masked };
    Kind kind_ = Kind::none;
    bool flip_ = false;
    Pixel color_ = 0;
    // Each pattern row twice over, so that any 8 columns starting at x mod 8
    // are one copy.
    std::array<std::array<Pixel, 16>, 8> rows_{};
    std::array<std::uint8_t, 8> paint_mask_{};  // masked kind: bit 7 - x set = paint (x mod 8)
};

// The cell grid of a hatch style: bit 7 - x of row y is a line pixel.
std::array<std::uint8_t, 8> hatch_rows(int hatch_style);

}  // namespace klv::gdi

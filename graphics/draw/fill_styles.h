// Brushes: the numbered fill patterns.
#pragma once

#include "graphics/klv.h"

#include <array>
#include <cstdint>

#include "platform/gdi/objects.h"

namespace klv {

// The 8 by 8 bitmaps of patterns 4, 5, 9, 10 and 11, one byte a row, top
// first; a 0 bit shows the fill colour, a 1 bit the background colour.
using PatternBits = std::array<std::uint8_t, 8>;
extern const PatternBits thick_rising_pattern;
extern const PatternBits thick_falling_pattern;
extern const PatternBits block_pattern;
extern const PatternBits sparse_dot_pattern;
extern const PatternBits close_dot_pattern;

// A monochrome pattern brush of these rows.
gdi::Brush* pattern_brush(const PatternBits& rows);

}  // namespace klv


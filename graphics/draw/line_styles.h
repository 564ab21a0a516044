// Pens: the line style, pattern and thickness of a window in its drawing
// colour.
#pragma once

#include "graphics/klv.h"

#include <array>
#include <cstdint>

namespace klv {

// Alternating dash and gap lengths in pixels, starting with a dash.
struct DashArray {
    std::int32_t count = 0;
    std::array<std::uint32_t, 16> entries{};
};

extern const std::array<DashArray, 4> line_style_dashes;

// Rebuilds the pens of the current window's four pages.
void update_pen();
// The current window's 16-bit line pattern as a dash array.
DashArray pattern_to_dashes();
// The conversion itself, for a given pattern.
DashArray pattern_to_dashes(std::int32_t line_pattern);

}  // namespace klv


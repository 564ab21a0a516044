// Colour values: 0 to 15 name palette colours, anything else is an RGB
// colour 0x00BBGGRR in its low 24 bits. An RGB colour whose 24 bits are
// below 16 is named with the top byte 1 (rgb_color_mark), which
// color_to_rgb drops.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "graphics/klv.h"
#include "platform/gdi/gdi_types.h"

namespace klv {

// Shared by every window, and by the threads of their mouse handlers: each
// entry is read and written whole. Filled when a window is opened.
extern std::array<std::atomic<gdi::ColorRef>, 16> palette;
extern const std::array<gdi::ColorRef, 16> default_palette;

inline gdi::ColorRef color_to_rgb(std::int32_t color) {
    if (color >= 0 && color <= 15) return palette[std::size_t(color)].load(std::memory_order_relaxed);
    return gdi::ColorRef(color) & 0xFFFFFFu;
}

constexpr std::int32_t rgb_color_mark = 0x01000000;

// The colour value that names this RGB colour, whatever the palette holds:
// color_to_rgb gives rgb back. Colours kept as RGB (the fill colour) and
// the colours the library answers (get_pixel, get_palette_entry) are such
// values, so that passing one back draws that very colour.
constexpr std::int32_t rgb_color_value(gdi::ColorRef rgb) {
    rgb &= 0xFFFFFFu;
    return std::int32_t(rgb) | (rgb < 16 ? rgb_color_mark : 0);
}

}  // namespace klv


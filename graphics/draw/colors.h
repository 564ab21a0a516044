// Colour values: 0 to 15 name palette colours, anything else is an RGB
// colour 0x00BBGGRR in its low 24 bits.
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

}  // namespace klv


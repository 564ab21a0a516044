// A frame's pixels as at most 256 colours and one index a pixel, for GIF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gdi/gdi_types.h"

namespace klv {

struct PalettedPixels {
    std::vector<gdi::Pixel> colours;     // 0x00RRGGBB, at most the limit asked for
    std::vector<std::uint8_t> indices;   // one a pixel, into colours
};

// Pixels with limit colours or fewer (limit 2 to 256) keep them exactly.
// More are reduced to limit colours: median cut over a histogram of 15-bit
// colours (each box split at its weighted median along its widest channel,
// the box of largest squared error first), then three Lloyd (k-means)
// passes over the histogram; each pixel takes the colour its histogram cell
// ended nearest to. No dithering: dots that move from frame to frame would
// make an animation shimmer. True when the colours were kept exactly.
bool reduce_colours(const gdi::Pixel* pixels, std::size_t count, std::size_t limit, PalettedPixels* result);

}  // namespace klv

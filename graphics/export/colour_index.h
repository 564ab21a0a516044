// The few colours of a picture, for palette images (PNG, GIF).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gdi/gdi_types.h"

namespace klv {

// The distinct colours of pixels[0, count), in the order they first appear,
// into colours, and each pixel's index among them into indices (count
// bytes). False when there are more than limit colours (limit at most 256);
// then colours and indices hold nothing useful.
bool index_colours(const gdi::Pixel* pixels, std::size_t count, std::size_t limit, std::vector<gdi::Pixel>* colours,
                   std::uint8_t* indices);

}  // namespace klv

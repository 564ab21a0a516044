// How far a run of pixels goes whose low 24 bits all equal a colour, or all
// differ from it (the top 8 bits are never looked at): the flood fill's
// inner loop, sixteen pixels at a time with the widest vectors the processor
// has.
#pragma once

#include <cstdint>

#include "platform/gdi/gdi_types.h"

namespace klv::gdi {

// The first column of [x, end) of the row whose pixel, unlike the run,
// differs from `color` (equal_run) or equals it (!equal_run); end when the
// run reaches it. color holds 24 bits.
std::int64_t colour_run_end(const Pixel* row, std::int64_t x, std::int64_t end, Pixel color, bool equal_run);

// The same, and every pixel of the run takes `paint`.
std::int64_t colour_run_end_painting(Pixel* row, std::int64_t x, std::int64_t end, Pixel color, bool equal_run,
                                     Pixel paint);

}  // namespace klv::gdi

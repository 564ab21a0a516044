// The pixel codes of run-length encoded BMP files (BI_RLE8 and BI_RLE4),
// read bottom-up as Windows reads them.
#pragma once

#include <array>
#include <cstdint>

#include "graphics/picture/picture.h"

namespace klv {

struct RleLayout {
    int width = 0;
    int height = 0;
    int bits = 8;              // 8 (BI_RLE8) or 4 (BI_RLE4)
    std::uint64_t offset = 0;  // of the first code
};

// The codes from `offset` to the end of the source, as the runs of a picture
// of the layout's size: KLV_OK, or KLV_ERROR_DAMAGED_PICTURE for codes that
// run past the width (with the row's padding to 32 bits), the height or the
// end of the file (a file may leave out the end-of-bitmap code only after
// ending every row). Pixels the codes
// skip (a delta, a line or the bitmap ended early) are in no run. Throws
// std::bad_alloc when the runs do not fit in memory.
int read_rle_codes(ByteSource& source, const RleLayout& layout, const std::array<gdi::Pixel, 256>& palette,
                   Picture* picture);

}  // namespace klv

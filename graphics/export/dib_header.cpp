// The sizes a DIB's header implies, and releasing a DIB.
#include "graphics/export/dib.h"

namespace klv {

std::uint16_t dib_color_count(const gdi::BitmapInfoHeader& header) {
    if (header.colors_used != 0) return std::uint16_t(header.colors_used);
    switch (header.bit_count) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

std::uint16_t dib_palette_size(const gdi::BitmapInfoHeader& header) {
    return std::uint16_t(dib_color_count(header) * 4u);
}

int free_dib(DibHandle& dib) {
    dib.release();
    return 0;
}

}  // namespace klv

#include "platform/ui/scaled_copy.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace klv::ui {

namespace {

// Two screen pixels of one image pixel in one 64-bit store.
void widen_by_two(const gdi::Pixel* from, gdi::Pixel* to, int count) {
    for (int i = 0; i < count; ++i) {
        const std::uint64_t pair = std::uint64_t(from[i]) * 0x0000000100000001ull;
        std::memcpy(to + 2 * i, &pair, sizeof pair);
    }
}

void widen(const gdi::Pixel* from, gdi::Pixel* to, int count, int scale) {
    switch (scale) {
        case 1: std::copy(from, from + count, to); break;
        case 2: widen_by_two(from, to, count); break;
        default:
            for (int i = 0; i < count; ++i) std::fill_n(to + std::ptrdiff_t(i) * scale, scale, from[i]);
    }
}

}  // namespace

void copy_scaled(const gdi::Bitmap& image, const gdi::Rect& rect, int scale, gdi::Pixel* destination,
                 std::ptrdiff_t stride) {
    const int width = rect.right - rect.left;
    if (width <= 0) return;
    const std::size_t row_bytes = std::size_t(width) * std::size_t(scale) * sizeof(gdi::Pixel);
    for (int y = rect.top; y < rect.bottom; ++y) {
        gdi::Pixel* first = destination + std::ptrdiff_t(y) * scale * stride + std::ptrdiff_t(rect.left) * scale;
        widen(image.row(y) + rect.left, first, width, scale);
        for (int k = 1; k < scale; ++k) std::memcpy(first + k * stride, first, row_bytes);
    }
}

}  // namespace klv::ui

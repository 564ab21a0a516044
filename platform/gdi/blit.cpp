// BitBlt and StretchBlt with SRCCOPY. Pixels outside the source bitmap or
// outside the destination's drawable area are left alone. A monochrome
// source paints its 0 bits in the destination's text colour and its 1 bits
// in its background colour.
#include <algorithm>

#include "platform/gdi/canvas.h"
#include "platform/gdi/gdi.h"

namespace klv::gdi {

namespace {

Pixel source_pixel(const Bitmap& source, std::int64_t x, std::int64_t y, Pixel zero, Pixel one) {
    if (source.bits_per_pixel() == 32) return source.row(int(y))[x];
    return source.mono_bit(int(x), int(y)) ? one : zero;
}

// The source offset under the centre of destination offset i (128-bit: i
// and the sizes may each be near 2^32).
std::int64_t sample(std::int64_t i, int source_size, int size) {
    return std::int64_t((2 * __int128(i) + 1) * source_size / (2 * __int128(size)));
}

}  // namespace

void bit_blt(DeviceContext* destination, int x, int y, int width, int height, const DeviceContext* source,
             int source_x, int source_y) {
    if (!destination || !source || !source->bitmap || width <= 0 || height <= 0) return;
    const Bitmap& bits = *source->bitmap;
    if (bits.bits_per_pixel() != 32) {
        stretch_blt(destination, x, y, width, height, source, source_x, source_y, width, height);
        return;
    }
    Canvas canvas = canvas_of(destination);
    if (canvas.empty()) return;
    DevicePoint d = to_device(destination, x, y);
    DevicePoint s = to_device(source, source_x, source_y);
    // Columns and rows that lie inside both the drawable area and the source.
    std::int64_t x0 = std::max({d.x, canvas.left, d.x - s.x});
    std::int64_t x1 = std::min({d.x + width, canvas.right, d.x - s.x + bits.width()});
    std::int64_t y0 = std::max({d.y, canvas.top, d.y - s.y});
    std::int64_t y1 = std::min({d.y + height, canvas.bottom, d.y - s.y + bits.height()});
    if (x0 >= x1) return;
    for (std::int64_t dy = y0; dy < y1; ++dy) {
        const Pixel* from = bits.row(int(dy - d.y + s.y)) + (x0 - d.x + s.x);
        std::copy(from, from + (x1 - x0), canvas.row(dy) + x0);
    }
}

// Nearest-pixel sampling: destination column i takes source column
// sx + floor((2i + 1) * sw / (2w)), the source pixel under its centre.
// Sizes that are not positive draw nothing.
void stretch_blt(DeviceContext* destination, int x, int y, int width, int height, const DeviceContext* source,
                 int source_x, int source_y, int source_width, int source_height) {
    if (!destination || !source || !source->bitmap) return;
    if (width <= 0 || height <= 0 || source_width <= 0 || source_height <= 0) return;
    Canvas canvas = canvas_of(destination);
    if (canvas.empty()) return;
    const Bitmap& bits = *source->bitmap;
    DevicePoint d = to_device(destination, x, y);
    DevicePoint s = to_device(source, source_x, source_y);
    Pixel zero = pixel_from_color(destination->text_color);
    Pixel one = pixel_from_color(destination->background_color);
    std::int64_t y0 = std::max(d.y, canvas.top), y1 = std::min(d.y + height, canvas.bottom);
    std::int64_t x0 = std::max(d.x, canvas.left), x1 = std::min(d.x + width, canvas.right);
    for (std::int64_t dy = y0; dy < y1; ++dy) {
        std::int64_t sy = s.y + sample(dy - d.y, source_height, height);
        if (sy < 0 || sy >= bits.height()) continue;
        Pixel* out = canvas.row(dy);
        for (std::int64_t dx = x0; dx < x1; ++dx) {
            std::int64_t sx = s.x + sample(dx - d.x, source_width, width);
            if (sx < 0 || sx >= bits.width()) continue;
            out[dx] = source_pixel(bits, sx, sy, zero, one);
        }
    }
}

}  // namespace klv::gdi

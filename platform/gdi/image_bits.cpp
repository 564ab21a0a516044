// Images in the caller's memory onto a page and back: the pixel loops of
// grabbing and pasting. Pixels are read and written with memcpy, so that
// the caller's buffer may have any alignment; the compiler turns each loop
// into plain vector loads and stores.
#include <algorithm>
#include <cstring>

#include "platform/gdi/canvas.h"
#include "platform/gdi/gdi.h"

namespace klv::gdi {

namespace {

constexpr Pixel rgb_bits = 0xFFFFFFu;

// The part of a width by height block at device point d that lies on the
// drawable area, or on the whole bitmap; empty when x0 >= x1 or y0 >= y1.
struct Overlap {
    std::int64_t x0, x1, y0, y1;
    bool empty() const { return x0 >= x1 || y0 >= y1; }
};

Overlap overlap(DevicePoint d, int width, int height, std::int64_t left, std::int64_t top, std::int64_t right,
                std::int64_t bottom) {
    return {std::max(d.x, left), std::min(d.x + width, right), std::max(d.y, top), std::min(d.y + height, bottom)};
}

template <class Combine>
void combine_rows(const Canvas& canvas, const Overlap& o, DevicePoint d, int width, const unsigned char* bits,
                  Combine combine) {
    const std::int64_t n = o.x1 - o.x0;
    for (std::int64_t y = o.y0; y < o.y1; ++y) {
        const unsigned char* in = bits + 4 * ((y - d.y) * std::int64_t(width) + (o.x0 - d.x));
        Pixel* out = canvas.row(y) + o.x0;
        for (std::int64_t i = 0; i < n; ++i) {
            Pixel s;
            std::memcpy(&s, in + 4 * i, 4);
            out[i] = combine(out[i], s) & rgb_bits;
        }
    }
}

}  // namespace

void draw_image_bits(DeviceContext* dc, int x, int y, int width, int height, const void* bits, std::uint32_t rop) {
    if (!dc || !bits || width <= 0 || height <= 0) return;
    const Canvas canvas = canvas_of(dc);
    const DevicePoint d = to_device(dc, x, y);
    const Overlap o = overlap(d, width, height, canvas.left, canvas.top, canvas.right, canvas.bottom);
    if (canvas.empty() || o.empty()) return;
    const auto* in = static_cast<const unsigned char*>(bits);
    switch (rop) {
        case SRCCOPY: return combine_rows(canvas, o, d, width, in, [](Pixel, Pixel s) { return s; });
        case SRCINVERT: return combine_rows(canvas, o, d, width, in, [](Pixel p, Pixel s) { return p ^ s; });
        case SRCPAINT: return combine_rows(canvas, o, d, width, in, [](Pixel p, Pixel s) { return p | s; });
        case SRCAND: return combine_rows(canvas, o, d, width, in, [](Pixel p, Pixel s) { return p & s; });
        case NOTSRCCOPY: return combine_rows(canvas, o, d, width, in, [](Pixel, Pixel s) { return ~s; });
        default: return;
    }
}

void read_image_bits(const DeviceContext* dc, int x, int y, int width, int height, void* bits) {
    if (!dc || !bits || width <= 0 || height <= 0) return;
    auto* out = static_cast<unsigned char*>(bits);
    const std::size_t row_bytes = 4 * std::size_t(width);
    const Bitmap* bitmap = dc->bitmap;
    Overlap o{0, 0, 0, 0};
    const DevicePoint d = to_device(dc, x, y);
    if (bitmap && bitmap->bits_per_pixel() == 32) o = overlap(d, width, height, 0, 0, bitmap->width(), bitmap->height());
    if (o.empty()) {
        std::memset(out, 0, row_bytes * std::size_t(height));
        return;
    }
    // Black above, below, left and right of the pixels on the bitmap.
    const std::size_t left = 4 * std::size_t(o.x0 - d.x), middle = 4 * std::size_t(o.x1 - o.x0);
    std::memset(out, 0, std::size_t(o.y0 - d.y) * row_bytes);
    for (std::int64_t row = o.y0; row < o.y1; ++row) {
        unsigned char* to = out + std::size_t(row - d.y) * row_bytes;
        std::memset(to, 0, left);
        std::memcpy(to + left, bitmap->row(int(row)) + o.x0, middle);
        std::memset(to + left + middle, 0, row_bytes - left - middle);
    }
    const std::size_t below = std::size_t(d.y + height - o.y1);
    std::memset(out + std::size_t(o.y1 - d.y) * row_bytes, 0, below * row_bytes);
}

}  // namespace klv::gdi

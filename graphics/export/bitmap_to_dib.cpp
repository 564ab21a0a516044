// A bitmap as a packed DIB: the header and colour table are made first, in
// a block of just their size, then the block grows once to take the pixels.
#include <cstring>
#include <limits>

#include "graphics/export/dib.h"

namespace klv {

namespace {

// 1, 4 or 8 bits for bitmaps of at most that depth; 24 for deeper ones.
std::uint16_t dib_bit_count(const gdi::Bitmap& bitmap) {
    auto depth = std::uint16_t(1 * bitmap.bits_per_pixel());  // planes times bits per pixel
    if (depth <= 1) return 1;
    if (depth <= 4) return 4;
    if (depth <= 8) return 8;
    return 24;
}

gdi::BitmapInfoHeader header_for(const gdi::Bitmap& bitmap) {
    gdi::BitmapInfoHeader header;
    header.width = bitmap.width();
    header.height = bitmap.height();
    header.planes = 1;
    header.bit_count = dib_bit_count(bitmap);
    header.compression = gdi::BI_RGB;
    return header;
}

gdi::BitmapInfo* info_in(const DibLock& lock) { return reinterpret_cast<gdi::BitmapInfo*>(lock.data()); }

// Writes the header into the block and lets the platform complete it and
// the colour table; returns the completed header.
gdi::BitmapInfoHeader complete_header(DibHandle& dib, const gdi::Bitmap& bitmap, const gdi::Palette* palette,
                                      gdi::BitmapInfoHeader header) {
    DibLock lock(dib);
    std::memcpy(lock.data(), &header, sizeof header);
    gdi::dib_bits(bitmap, palette, 0, bitmap.height(), nullptr, info_in(lock));
    std::memcpy(&header, lock.data(), sizeof header);
    return header;
}

bool fill_pixels(DibHandle& dib, const gdi::Bitmap& bitmap, const gdi::Palette* palette,
                 std::size_t pixel_offset) {
    DibLock lock(dib);
    return gdi::dib_bits(bitmap, palette, 0, bitmap.height(), lock.data() + pixel_offset, info_in(lock)) != 0;
}

}  // namespace

DibHandle bitmap_to_dib(const gdi::Bitmap* bitmap, const gdi::Palette* palette) {
    if (bitmap == nullptr || bitmap->width() <= 0 || bitmap->height() <= 0) return {};
    gdi::BitmapInfoHeader header = header_for(*bitmap);
    DibHandle dib = DibHandle::allocate(sizeof header + dib_palette_size(header));
    if (!dib) return {};
    header = complete_header(dib, *bitmap, palette, header);
    std::uint64_t image_size = header.image_size;
    if (image_size == 0) image_size = gdi::dib_row_bytes(header.bit_count, header.width) * std::uint64_t(header.height);
    if (image_size > std::numeric_limits<std::uint32_t>::max()) return {};
    std::size_t pixel_offset = sizeof header + dib_palette_size(header);
    if (!dib.reallocate(pixel_offset + std::size_t(image_size))) return {};
    if (!fill_pixels(dib, *bitmap, palette, pixel_offset)) return {};
    return dib;
}

}  // namespace klv

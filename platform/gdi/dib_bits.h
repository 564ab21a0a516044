// Device-independent bitmaps as GetDIBits gives them: a 40-byte header, a
// colour table for 8 bits per pixel or fewer, and pixel rows bottom row first,
// each padded to a multiple of 4 bytes.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "platform/gdi/objects.h"

namespace klv::gdi {

static_assert(std::endian::native == std::endian::little,
              "device-independent bitmaps are stored little-endian, as the host stores them");

#pragma pack(push, 1)
// BITMAPINFOHEADER.
struct BitmapInfoHeader {
    std::uint32_t size = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;  // positive: rows stored bottom-up
    std::uint16_t planes = 1;
    std::uint16_t bit_count = 0;
    std::uint32_t compression = 0;  // BI_RGB
    std::uint32_t image_size = 0;
    std::int32_t x_pixels_per_meter = 0;
    std::int32_t y_pixels_per_meter = 0;
    std::uint32_t colors_used = 0;
    std::uint32_t colors_important = 0;
};

// RGBQUAD: one colour-table entry.
struct RgbQuad {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;
};

// BITMAPINFO: the header, followed in memory by the colour table (for 8 bits
// per pixel or fewer: 2 to the bit count entries).
struct BitmapInfo {
    BitmapInfoHeader header;
};
#pragma pack(pop)

static_assert(sizeof(BitmapInfoHeader) == 40);
static_assert(sizeof(RgbQuad) == 4);

constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_RLE8 = 1;
constexpr std::uint32_t BI_RLE4 = 2;

// The colour table that follows the header.
inline RgbQuad* color_table(BitmapInfo* info) {
    return reinterpret_cast<RgbQuad*>(reinterpret_cast<unsigned char*>(info) + sizeof(BitmapInfoHeader));
}

// Bytes of one pixel row of a bit count and width, padded to 4 bytes.
constexpr std::uint64_t dib_row_bytes(int bit_count, int width) {
    return (std::uint64_t(bit_count) * std::uint64_t(width < 0 ? 0 : width) + 31) / 32 * 4;
}

// The colour that the default palette of a bit count (1, 4 or 8) holds at an
// index: black and white; the 16 VGA colours; the 20 system colours at 0-9
// and 246-255 with a 6x6x6 colour cube and a grey ramp between them.
RgbQuad default_palette_entry(int bit_count, int index);

// GetDIBits with DIB_RGB_COLORS. info->header gives the format wanted: size
// 40, the bitmap's width and height (a negative height asks for rows top
// first), bit count 1, 4, 8, 24 or 32, compression BI_RGB. Fills the image
// size and, for 8 bits or fewer, the colour table: the palette's entries
// where it has them (a stock or null palette: the default palette of the bit
// count). With bits, writes the scan lines start_line to start_line + lines
// - 1 (counted from the bottom row) there, each pixel as the nearest colour
// of the table for 8 bits or fewer. Returns the number of lines written, with
// bits null a non-zero value; 0 when the format is not one of the above or
// start_line is outside the bitmap.
int dib_bits(const Bitmap& bitmap, const Palette* palette, int start_line, int lines, void* bits,
             BitmapInfo* info);

}  // namespace klv::gdi

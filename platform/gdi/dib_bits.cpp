// GetDIBits: a bitmap's pixels in a device-independent format.
#include "platform/gdi/dib_bits.h"

#include <array>
#include <cstring>
#include <vector>

namespace klv::gdi {

namespace {

bool bit_count_supported(int bit_count) {
    return bit_count == 1 || bit_count == 4 || bit_count == 8 || bit_count == 24 || bit_count == 32;
}

bool format_supported(const BitmapInfoHeader& header, const Bitmap& bitmap) {
    if (header.size != sizeof(BitmapInfoHeader) || header.compression != BI_RGB || header.planes != 1)
        return false;
    if (!bit_count_supported(header.bit_count) || header.width != bitmap.width()) return false;
    return header.height == bitmap.height() || std::int64_t(header.height) == -std::int64_t(bitmap.height());
}

int table_entries(int bit_count) { return bit_count <= 8 ? 1 << bit_count : 0; }

RgbQuad quad_from_color(ColorRef color) {
    return RgbQuad{std::uint8_t(color >> 16), std::uint8_t(color >> 8), std::uint8_t(color), 0};
}

void fill_color_table(RgbQuad* table, int bit_count, const Palette* palette) {
    bool own_palette = palette != nullptr && !palette->is_stock();
    int count = table_entries(bit_count);
    for (int i = 0; i < count; ++i) {
        if (own_palette && std::size_t(i) < palette->entries().size())
            table[i] = quad_from_color(palette->entries()[std::size_t(i)]);
        else
            table[i] = default_palette_entry(bit_count, i);
    }
}

// The pixel at (x, y) as 0x00RRGGBB; a monochrome bitmap's 1 bits are white.
Pixel source_pixel(const Bitmap& bitmap, int x, int y) {
    if (bitmap.bits_per_pixel() == 1) return bitmap.mono_bit(x, y) ? 0xFFFFFFu : 0u;
    return bitmap.row(y)[x] & 0xFFFFFFu;
}

// The index of the table colour nearest to a pixel, remembered per colour.
class NearestColor {
public:
    NearestColor(const RgbQuad* table, int count) : table_(table), count_(count) { keys_.fill(no_key); }

    int index_of(Pixel pixel) {
        std::size_t slot = (pixel ^ (pixel >> 11) ^ (pixel >> 17)) & (cache_size - 1);
        if (keys_[slot] != pixel) {
            keys_[slot] = pixel;
            values_[slot] = std::uint8_t(search(pixel));
        }
        return values_[slot];
    }

private:
    static constexpr std::size_t cache_size = 4096;
    static constexpr std::uint32_t no_key = 0xFFFFFFFFu;

    int search(Pixel pixel) const {
        int red = int(pixel >> 16 & 0xFF), green = int(pixel >> 8 & 0xFF), blue = int(pixel & 0xFF);
        int best = 0;
        long best_distance = -1;
        for (int i = 0; i < count_; ++i) {
            long dr = red - table_[i].red, dg = green - table_[i].green, db = blue - table_[i].blue;
            long distance = dr * dr + dg * dg + db * db;
            if (best_distance < 0 || distance < best_distance) {
                best = i;
                best_distance = distance;
            }
        }
        return best;
    }

    const RgbQuad* table_;
    int count_;
    std::array<std::uint32_t, cache_size> keys_{};
    std::array<std::uint8_t, cache_size> values_{};
};

void write_true_color_row(std::uint8_t* out, const Bitmap& bitmap, int y, int bytes_per_pixel) {
    int width = bitmap.width();
    if (bitmap.bits_per_pixel() == 32 && bytes_per_pixel == 3) {
        const Pixel* in = bitmap.row(y);
        for (int x = 0; x < width; ++x, out += 3) {
            out[0] = std::uint8_t(in[x]);
            out[1] = std::uint8_t(in[x] >> 8);
            out[2] = std::uint8_t(in[x] >> 16);
        }
        return;
    }
    for (int x = 0; x < width; ++x, out += bytes_per_pixel) {
        Pixel p = source_pixel(bitmap, x, y);
        out[0] = std::uint8_t(p);
        out[1] = std::uint8_t(p >> 8);
        out[2] = std::uint8_t(p >> 16);
    }
}

// Packs table indexes, the leftmost pixel in the highest bits of a byte.
void write_indexed_row(std::uint8_t* out, const Bitmap& bitmap, int y, int bit_count, NearestColor& nearest) {
    int per_byte = 8 / bit_count;
    for (int x = 0; x < bitmap.width(); ++x) {
        auto index = unsigned(nearest.index_of(source_pixel(bitmap, x, y)));
        int shift = (per_byte - 1 - x % per_byte) * bit_count;
        out[x / per_byte] = std::uint8_t(out[x / per_byte] | index << shift);
    }
}

void write_lines(std::uint8_t* bits, const Bitmap& bitmap, const BitmapInfoHeader& header, RgbQuad* table,
                 int start_line, int lines) {
    auto row_bytes = std::size_t(dib_row_bytes(header.bit_count, header.width));
    NearestColor nearest(table, table_entries(header.bit_count));
    bool top_down = header.height < 0;
    for (int i = 0; i < lines; ++i) {
        int scan = start_line + i;
        int y = top_down ? scan : bitmap.height() - 1 - scan;
        std::uint8_t* out = bits + std::size_t(i) * row_bytes;
        std::memset(out, 0, row_bytes);
        if (header.bit_count >= 24)
            write_true_color_row(out, bitmap, y, header.bit_count / 8);
        else
            write_indexed_row(out, bitmap, y, header.bit_count, nearest);
    }
}

}  // namespace

int dib_bits(const Bitmap& bitmap, const Palette* palette, int start_line, int lines, void* bits,
             BitmapInfo* info) {
    if (info == nullptr || !format_supported(info->header, bitmap)) return 0;
    BitmapInfoHeader& header = info->header;
    std::uint64_t image_size = dib_row_bytes(header.bit_count, header.width) * std::uint64_t(bitmap.height());
    if (image_size > 0xFFFFFFFFu) return 0;
    header.image_size = std::uint32_t(image_size);
    fill_color_table(color_table(info), header.bit_count, palette);
    if (bits == nullptr) return bitmap.height() > 0 ? bitmap.height() : 1;
    if (start_line < 0 || start_line >= bitmap.height() || lines <= 0) return 0;
    if (lines > bitmap.height() - start_line) lines = bitmap.height() - start_line;
    write_lines(static_cast<std::uint8_t*>(bits), bitmap, header, color_table(info), start_line, lines);
    return lines;
}

}  // namespace klv::gdi

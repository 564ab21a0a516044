// BMP files: the Windows and OS/2 headers, 1, 4 and 8 bits per pixel through
// a colour table, 16 and 32 bits with default masks or bit fields, 24 bits;
// rows bottom-up or top-down; run-length encoded 8 and 4 bits per pixel,
// bottom-up (bmp_rle.cpp). Embedded JPEG or PNG images are refused. Every
// size of an uncompressed file is checked against the file before memory is
// taken, so a header cannot make the reader allocate more than the file can
// fill; a run-length encoded one takes memory only for the pixels its codes
// give.
#include <algorithm>
#include <array>
#include <bit>
#include <vector>

#include "graphics/klv.h"
#include "graphics/picture/bmp_rle.h"
#include "graphics/picture/picture.h"

namespace klv {

namespace {

constexpr std::uint64_t file_header_size = 14;
constexpr std::uint32_t core_header_size = 12;
constexpr std::uint32_t bi_rgb = 0, bi_rle8 = 1, bi_rle4 = 2, bi_bitfields = 3, bi_alphabitfields = 6;

std::uint32_t u16(const std::uint8_t* p) { return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8; }
std::uint32_t u32(const std::uint8_t* p) { return u16(p) | u16(p + 2) << 16; }

// One colour channel of a bit field: the masked bits, moved down and
// stretched to 0-255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint64_t top = 0;  // the largest value the field holds

    explicit Channel(std::uint32_t m = 0) : mask(m), shift(m ? std::countr_zero(m) : 0), top(m >> shift) {}
    std::uint32_t operator()(std::uint32_t value) const {
        if (top == 0) return 0;
        return std::uint32_t((((value & mask) >> shift) * 255 + top / 2) / top);
    }
};

struct Layout {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool top_down = false;
    bool run_length = false;  // BI_RLE8 or BI_RLE4
    int bits = 0;
    std::uint64_t pixel_offset = 0;
    std::uint64_t palette_offset = 0;
    int palette_entries = 0;
    int palette_entry_size = 4;
    std::array<Channel, 4> channels;  // red, green, blue, alpha
    bool standard_masks = true;       // 8-bit red, green and blue fields, no alpha
    bool alpha = false;

    std::uint64_t row_bytes() const { return (std::uint64_t(bits) * std::uint64_t(width) + 31) / 32 * 4; }
    std::uint64_t last_row_bytes() const { return (std::uint64_t(bits) * std::uint64_t(width) + 7) / 8; }
};

bool supported_depth(int bits, std::uint32_t compression, bool core) {
    if (core) return bits == 1 || bits == 4 || bits == 8 || bits == 24;
    if (compression == bi_rgb) return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (compression == bi_rle8) return bits == 8;
    if (compression == bi_rle4) return bits == 4;
    return bits == 16 || bits == 32;
}

void set_masks(Layout& layout, std::uint32_t red, std::uint32_t green, std::uint32_t blue, std::uint32_t alpha) {
    layout.channels = {Channel(red), Channel(green), Channel(blue), Channel(alpha)};
    layout.alpha = alpha != 0;
    layout.standard_masks = red == 0xFF0000 && green == 0xFF00 && blue == 0xFF && alpha == 0;
}

// The two headers and the bit fields; sizes not yet checked against the file.
int read_headers(ByteSource& source, Layout& layout) {
    std::uint8_t head[file_header_size + 124 + 16] = {};
    const std::size_t have = std::size_t(std::min<std::uint64_t>(source.size(), sizeof head));
    if (have < file_header_size + 4 || !source.read(0, head, have)) return KLV_ERROR_DAMAGED_PICTURE;
    layout.pixel_offset = u32(head + 10);
    const std::uint32_t header_size = u32(head + 14);
    const bool core = header_size == core_header_size;
    if (!core && header_size != 40 && header_size != 52 && header_size != 56 && header_size != 108 &&
        header_size != 124)
        return KLV_ERROR_UNSUPPORTED_PICTURE;
    std::uint64_t header_end = file_header_size + header_size;
    if (have < header_end) return KLV_ERROR_DAMAGED_PICTURE;
    const std::uint8_t* info = head + file_header_size;
    std::uint32_t compression = bi_rgb;
    if (core) {
        layout.width = u16(info + 4);
        layout.height = u16(info + 6);
        layout.bits = int(u16(info + 10));
        layout.palette_entry_size = 3;
    } else {
        layout.width = std::int32_t(u32(info + 4));
        layout.height = std::int32_t(u32(info + 8));
        layout.bits = int(u16(info + 14));
        compression = u32(info + 16);
        layout.palette_entries = int(std::min<std::uint32_t>(u32(info + 32), 256));
    }
    if (compression != bi_rgb && compression != bi_rle8 && compression != bi_rle4 && compression != bi_bitfields &&
        compression != bi_alphabitfields)
        return KLV_ERROR_UNSUPPORTED_PICTURE;
    if (!supported_depth(layout.bits, compression, core)) return KLV_ERROR_UNSUPPORTED_PICTURE;
    if (layout.bits == 16) set_masks(layout, 0x7C00, 0x03E0, 0x001F, 0);
    if (layout.bits == 32) set_masks(layout, 0xFF0000, 0xFF00, 0xFF, 0);
    layout.run_length = compression == bi_rle8 || compression == bi_rle4;
    if (compression == bi_bitfields || compression == bi_alphabitfields) {
        // The fields follow a 40-byte header; longer headers hold them.
        const std::uint64_t field_bytes = compression == bi_alphabitfields ? 16 : 12;
        const std::uint8_t* fields = info + 40;
        if (header_size == 40) header_end += field_bytes;
        if (have < header_end) return KLV_ERROR_DAMAGED_PICTURE;
        const bool with_alpha = header_size >= 56 || field_bytes == 16;
        set_masks(layout, u32(fields), u32(fields + 4), u32(fields + 8), with_alpha ? u32(fields + 12) : 0);
    }
    if (layout.height < 0) {
        // Windows reads no top-down run-length encoded bitmap.
        if (layout.run_length) return KLV_ERROR_UNSUPPORTED_PICTURE;
        layout.top_down = true;
        layout.height = -layout.height;
    }
    layout.palette_offset = header_end;
    return KLV_OK;
}

// The colour table's size and the pixel rows' place, against the file.
int check_extent(ByteSource& source, Layout& layout) {
    if (layout.width <= 0 || layout.height <= 0) return KLV_ERROR_DAMAGED_PICTURE;
    if (int size_error = check_picture_size(layout.width, layout.height)) return size_error;
    if (layout.pixel_offset < layout.palette_offset) return KLV_ERROR_DAMAGED_PICTURE;
    if (layout.bits <= 8) {
        const int full = 1 << layout.bits;
        int entries = layout.palette_entries == 0 || layout.palette_entries > full ? full : layout.palette_entries;
        // A table cut short by the pixel rows' offset holds what fits.
        const std::uint64_t room = (layout.pixel_offset - layout.palette_offset) / std::uint64_t(layout.palette_entry_size);
        layout.palette_entries = int(std::min<std::uint64_t>(std::uint64_t(entries), room));
    }
    const std::uint64_t needed =
        layout.run_length ? 0 : layout.row_bytes() * std::uint64_t(layout.height - 1) + layout.last_row_bytes();
    if (layout.pixel_offset > source.size() || needed > source.size() - layout.pixel_offset)
        return KLV_ERROR_DAMAGED_PICTURE;
    return KLV_OK;
}

// Entries the table does not hold are black.
bool read_palette(ByteSource& source, const Layout& layout, std::array<gdi::Pixel, 256>& palette) {
    palette.fill(0);
    if (layout.bits > 8 || layout.palette_entries == 0) return true;
    std::uint8_t table[256 * 4];
    const std::size_t size = std::size_t(layout.palette_entries) * std::size_t(layout.palette_entry_size);
    if (!source.read(layout.palette_offset, table, size)) return false;
    for (int i = 0; i < layout.palette_entries; ++i) {
        const std::uint8_t* entry = table + std::ptrdiff_t(i) * layout.palette_entry_size;
        palette[std::size_t(i)] = gdi::Pixel(entry[2]) << 16 | gdi::Pixel(entry[1]) << 8 | entry[0];
    }
    return true;
}

// A pixel from its bit fields; alpha in the top byte for now.
gdi::Pixel from_fields(const Layout& layout, std::uint32_t value) {
    const auto& c = layout.channels;
    return c[3](value) << 24 | c[0](value) << 16 | c[1](value) << 8 | c[2](value);
}

void convert_row(const Layout& layout, const std::array<gdi::Pixel, 256>& palette, const std::uint8_t* in,
                 gdi::Pixel* out) {
    const int width = int(layout.width);
    switch (layout.bits) {
        case 1:
            for (int x = 0; x < width; ++x) out[x] = palette[(in[x >> 3] >> (7 - (x & 7))) & 1];
            break;
        case 4:
            for (int x = 0; x < width; ++x) out[x] = palette[(in[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
            break;
        case 8:
            for (int x = 0; x < width; ++x) out[x] = palette[in[x]];
            break;
        case 16:
            for (int x = 0; x < width; ++x) out[x] = from_fields(layout, u16(in + 2 * x));
            break;
        case 24:
            for (int x = 0; x < width; ++x, in += 3) out[x] = gdi::Pixel(in[2]) << 16 | gdi::Pixel(in[1]) << 8 | in[0];
            break;
        default:
            if (layout.standard_masks) {
                for (int x = 0; x < width; ++x, in += 4) out[x] = gdi::Pixel(in[2]) << 16 | gdi::Pixel(in[1]) << 8 | in[0];
            } else {
                for (int x = 0; x < width; ++x) out[x] = from_fields(layout, u32(in + 4 * x));
            }
    }
}

// Rows are read a bounded chunk at a time, in the order the file holds them.
bool read_rows(ByteSource& source, const Layout& layout, const std::array<gdi::Pixel, 256>& palette,
               gdi::Bitmap& bitmap) {
    const std::uint64_t row_bytes = layout.row_bytes();
    const std::uint64_t rows_per_chunk = std::max<std::uint64_t>(1, (std::uint64_t(1) << 20) / row_bytes);
    std::vector<std::uint8_t> chunk;
    const std::uint64_t height = std::uint64_t(layout.height);
    for (std::uint64_t first = 0; first < height; first += rows_per_chunk) {
        const std::uint64_t rows = std::min(rows_per_chunk, height - first);
        const std::uint64_t offset = layout.pixel_offset + first * row_bytes;
        const std::uint64_t bytes = std::min(rows * row_bytes, source.size() - offset);
        chunk.assign(std::size_t(rows * row_bytes), 0);
        if (!source.read(offset, chunk.data(), std::size_t(bytes))) return false;
        for (std::uint64_t i = 0; i < rows; ++i) {
            const std::uint64_t stored = first + i;
            const int y = int(layout.top_down ? stored : height - 1 - stored);
            convert_row(layout, palette, chunk.data() + i * row_bytes, bitmap.row(y));
        }
    }
    return true;
}

// Pixels with alpha are drawn over black. A file whose alpha is 0
// everywhere did not mean it (writers that leave the field empty): its
// colours are taken as they are (the top bytes are 0 already).
void apply_alpha(gdi::Bitmap& bitmap) {
    const gdi::Pixel* pixels = bitmap.pixels();
    const std::size_t count = std::size_t(bitmap.width()) * std::size_t(bitmap.height());
    if (std::any_of(pixels, pixels + count, [](gdi::Pixel p) { return (p >> 24) != 0; })) composite_over_black(bitmap);
}

int read_run_length(ByteSource& source, const Layout& layout, const std::array<gdi::Pixel, 256>& palette,
                    Picture* picture) {
    const RleLayout codes{int(layout.width), int(layout.height), layout.bits, layout.pixel_offset};
    try {
        if (int error = read_rle_codes(source, codes, palette, picture)) {
            *picture = Picture{};
            return error;
        }
    } catch (const std::bad_alloc&) {
        *picture = Picture{};
        return KLV_ERROR_OUT_OF_MEMORY;
    }
    return KLV_OK;
}

}  // namespace

int read_bmp(ByteSource& source, Picture* picture) {
    *picture = Picture{};
    Layout layout;
    if (int error = read_headers(source, layout)) return error;
    if (int error = check_extent(source, layout)) return error;
    std::array<gdi::Pixel, 256> palette;
    if (!read_palette(source, layout, palette)) return KLV_ERROR_DAMAGED_PICTURE;
    if (layout.run_length) return read_run_length(source, layout, palette, picture);
    BitmapPointer bitmap = new_picture_bitmap(int(layout.width), int(layout.height));
    if (!bitmap) return KLV_ERROR_OUT_OF_MEMORY;
    try {
        if (!read_rows(source, layout, palette, *bitmap)) return KLV_ERROR_DAMAGED_PICTURE;
    } catch (const std::bad_alloc&) {
        return KLV_ERROR_OUT_OF_MEMORY;
    }
    if (layout.alpha) apply_alpha(*bitmap);
    *picture = whole_picture(std::move(bitmap));
    return KLV_OK;
}

}  // namespace klv

// PNG files through libpng: every colour type and bit depth, interlaced or
// not, as the stored values (no gamma applied); 16-bit samples become the
// nearest 8-bit level; transparent pixels drawn over black, those of a 16-bit
// file at its own precision. Ancillary chunks other than tRNS are skipped
// unread.
//
// libpng reports errors with longjmp. The functions that call it with a
// setjmp of their own hold only plain values; the bitmap and the row list
// belong to their caller, so no destructor is ever jumped over.
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <vector>

#include "graphics/klv.h"
#include "graphics/picture/picture.h"

namespace klv {

namespace {

// What zlib can make of a byte at most: the deflate format's longest match
// (258 bytes) coded in two bits or so.
constexpr std::uint64_t largest_inflate_ratio = 1032;

struct Reading {
    ByteSource* source = nullptr;
    std::uint64_t position = 0;
};

void read_bytes(png_structp png, png_bytep to, std::size_t count) {
    auto* reading = static_cast<Reading*>(png_get_io_ptr(png));
    if (!reading->source->read(reading->position, to, count)) png_error(png, "cut short");
    reading->position += count;
}

[[noreturn]] void on_error(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void on_warning(png_structp, png_const_charp) {}

std::uint32_t be32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// The size in the IHDR chunk, checked before libpng sees the file: too
// large, or more rows than the file could hold even at zlib's best.
int check_header(ByteSource& source) {
    std::uint8_t head[33];
    if (!source.read(0, head, sizeof head)) return KLV_ERROR_DAMAGED_PICTURE;
    if (be32(head + 8) != 13 || std::memcmp(head + 12, "IHDR", 4) != 0) return KLV_ERROR_DAMAGED_PICTURE;
    const std::int64_t width = be32(head + 16), height = be32(head + 20);
    const int depth = head[24], colour_type = head[25];
    if (width == 0 || height == 0) return KLV_ERROR_DAMAGED_PICTURE;
    if (int size_error = check_picture_size(width, height)) return size_error;
    const int channels = colour_type == 2 ? 3 : colour_type == 4 ? 2 : colour_type == 6 ? 4 : 1;
    const std::uint64_t row = (std::uint64_t(width) * std::uint64_t(channels * depth) + 7) / 8 + 1;
    if (row * std::uint64_t(height) > source.size() * largest_inflate_ratio) return KLV_ERROR_DAMAGED_PICTURE;
    return KLV_OK;
}

struct Shape {
    int width = 0;
    int height = 0;
    bool alpha = false;  // still to be drawn over black
};

std::uint32_t be16(const std::uint8_t* p) { return std::uint32_t(p[0]) << 8 | p[1]; }

// 16-bit red, green, blue and alpha drawn over black: colour times alpha
// rounded to the nearest 16-bit value, then to the nearest 8-bit level
// (rounding twice so gives what rounding colour * alpha * 255 / 65535^2 once
// does). The row becomes 8-bit blue, green, red and 0, in place.
void sixteen_bits_over_black(png_structp, png_row_infop row, png_bytep data) {
    const auto over_black = [](std::uint32_t colour, std::uint32_t alpha) {
        const std::uint32_t sixteen = (colour * alpha + 32767) / 65535;
        return png_byte((sixteen * 255 + 32767) / 65535);
    };
    for (std::size_t x = 0; x < row->width; ++x) {
        const png_bytep in = data + 8 * x;
        const std::uint32_t red = be16(in), green = be16(in + 2), blue = be16(in + 4), alpha = be16(in + 6);
        png_bytep out = data + 4 * x;
        out[0] = over_black(blue, alpha);
        out[1] = over_black(green, alpha);
        out[2] = over_black(red, alpha);
        out[3] = 0;
    }
}

// Reads up to the image data and asks for 4-byte B, G, R, X-or-alpha pixels.
bool read_shape(png_structp png, png_infop info, Shape* shape) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_user_limits(png, std::uint32_t(largest_picture_side), std::uint32_t(largest_picture_side));
    png_set_chunk_malloc_max(png, 8u << 20);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_read_info(png, info);
    const int colour_type = png_get_color_type(png, info);
    png_set_expand(png);
    if (colour_type == PNG_COLOR_TYPE_GRAY || colour_type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    shape->alpha = (colour_type & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
    if (shape->alpha && png_get_bit_depth(png, info) == 16) {
        png_set_read_user_transform_fn(png, sixteen_bits_over_black);
        png_set_user_transform_info(png, nullptr, 8, 4);
        shape->alpha = false;
    } else {
        png_set_scale_16(png);  // (v * 255 + 32767) / 65535
        png_set_bgr(png);
        if (!shape->alpha) png_set_filler(png, 0, PNG_FILLER_AFTER);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    shape->width = int(png_get_image_width(png, info));
    shape->height = int(png_get_image_height(png, info));
    return png_get_rowbytes(png, info) == std::size_t(shape->width) * 4;
}

bool read_rows(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    return true;
}

struct ReadStructs {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ReadStructs() {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, on_error, on_warning);
        if (png) info = png_create_info_struct(png);
    }
    ~ReadStructs() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
    ReadStructs(const ReadStructs&) = delete;
    ReadStructs& operator=(const ReadStructs&) = delete;
};

}  // namespace

int read_png(ByteSource& source, Picture* picture) {
    *picture = Picture{};
    if (int error = check_header(source)) return error;
    ReadStructs structs;
    if (!structs.png || !structs.info) return KLV_ERROR_OUT_OF_MEMORY;
    Reading reading{&source, 0};
    png_set_read_fn(structs.png, &reading, read_bytes);
    Shape shape;
    if (!read_shape(structs.png, structs.info, &shape)) return KLV_ERROR_DAMAGED_PICTURE;
    BitmapPointer bitmap = new_picture_bitmap(shape.width, shape.height);
    if (!bitmap) return KLV_ERROR_OUT_OF_MEMORY;
    std::vector<png_bytep> rows;
    try {
        rows.resize(std::size_t(shape.height));
    } catch (const std::bad_alloc&) {
        return KLV_ERROR_OUT_OF_MEMORY;
    }
    for (int y = 0; y < shape.height; ++y) rows[std::size_t(y)] = reinterpret_cast<png_bytep>(bitmap->row(y));
    if (!read_rows(structs.png, rows.data())) return KLV_ERROR_DAMAGED_PICTURE;
    if (shape.alpha) composite_over_black(*bitmap);
    *picture = whole_picture(std::move(bitmap));
    return KLV_OK;
}

}  // namespace klv

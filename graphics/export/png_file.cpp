// PNG encoding through libpng, chosen by measurement on 640 by 480 pages
// (the pie chart, a page of scattered dots and shapes, the chart with a
// note in smoothed text, a photograph-like plasma, a gradient) against
// libpng's defaults (zlib level 6, every filter tried on every row), which
// cairo uses:
// - 256 colours or fewer (what charts have): a palette image, filter None,
//   zlib level 3. Runs and repeated rows compress well without filters;
//   level 3 is the last of zlib's fast levels and gave files 0.8 to 0.9
//   times the size of the defaults' in a tenth of the time (1.7 to 3 ms).
// - More colours, on a page made mostly of runs (a chart with much smoothed
//   text): RGB, filter None, level 3: 1.35 times the defaults' size in a
//   fifth of the time; Sub with run-length coding gave twice the size.
// - More colours without runs (photographs): RGB, the Sub filter and zlib's
//   run-length strategy: 0.96 times the defaults' size on the plasma in a
//   third of the time; filter None gave 1.33 times.
//
// libpng reports errors with longjmp: the functions that call it with a
// setjmp of their own hold only plain values, their caller owns everything
// else, so no destructor is ever jumped over.
#include "graphics/export/png_file.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstring>
#include <new>

#include "graphics/export/colour_index.h"

namespace klv {

namespace {

constexpr int runs_level = 3;
constexpr int photograph_level = 1;

struct Plan {
    int width = 0;
    int height = 0;
    bool palette = false;
    bool runs = true;  // most pixels repeat their left neighbour
    int depth = 8;
    std::vector<png_color> colours;
    std::vector<std::uint8_t> indices;  // one byte a pixel, rows top first
    std::vector<std::uint8_t> row;      // one packed row
};

// The palette and every pixel's index; false when there are more than 256
// colours.
bool make_palette(const gdi::Bitmap& bitmap, Plan& plan) {
    const std::size_t count = std::size_t(bitmap.width()) * std::size_t(bitmap.height());
    plan.indices.resize(count);
    std::vector<gdi::Pixel> colours;
    if (!index_colours(bitmap.pixels(), count, 256, &colours, plan.indices.data())) return false;
    for (const gdi::Pixel p : colours) plan.colours.push_back({png_byte(p >> 16), png_byte(p >> 8), png_byte(p)});
    const std::size_t n = plan.colours.size();
    plan.depth = n <= 2 ? 1 : n <= 4 ? 2 : n <= 16 ? 4 : 8;
    return true;
}

// Every eighth row decides: half of its pixels like their left neighbour.
bool mostly_runs(const gdi::Bitmap& bitmap) {
    std::int64_t same = 0, all = 0;
    for (int y = 0; y < bitmap.height(); y += 8) {
        const gdi::Pixel* row = bitmap.row(y);
        for (int x = 1; x < bitmap.width(); ++x) same += row[x] == row[x - 1];
        all += bitmap.width() - 1;
    }
    return 2 * same >= all;
}

// Row y of indices packed at the plan's depth, leftmost pixel in the high bits.
void pack_row(Plan& plan, int y) {
    const std::uint8_t* from = plan.indices.data() + std::size_t(y) * std::size_t(plan.width);
    if (plan.depth == 8) {
        std::memcpy(plan.row.data(), from, std::size_t(plan.width));
        return;
    }
    std::fill(plan.row.begin(), plan.row.end(), 0);
    const int per_byte = 8 / plan.depth;
    for (int x = 0; x < plan.width; ++x) {
        const int shift = 8 - plan.depth * (x % per_byte + 1);
        plan.row[std::size_t(x / per_byte)] |= std::uint8_t(from[x] << shift);
    }
}

struct Sink {
    std::vector<std::uint8_t>* bytes;
};

void write_bytes(png_structp png, png_bytep data, std::size_t count) {
    auto* sink = static_cast<Sink*>(png_get_io_ptr(png));
    bool stored = true;
    try {
        sink->bytes->insert(sink->bytes->end(), data, data + count);
    } catch (const std::bad_alloc&) {
        stored = false;
    }
    if (!stored) png_error(png, "out of memory");
}

void flush_bytes(png_structp) {}
[[noreturn]] void on_error(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void on_warning(png_structp, png_const_charp) {}

bool write_image(png_structp png, png_infop info, const gdi::Bitmap& bitmap, Plan& plan) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_compression_buffer_size(png, 1 << 16);
    if (plan.palette) {
        png_set_IHDR(png, info, std::uint32_t(plan.width), std::uint32_t(plan.height), plan.depth,
                     PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_set_PLTE(png, info, plan.colours.data(), int(plan.colours.size()));
    } else {
        png_set_IHDR(png, info, std::uint32_t(plan.width), std::uint32_t(plan.height), 8, PNG_COLOR_TYPE_RGB,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    }
    if (plan.palette || plan.runs) {
        png_set_compression_level(png, runs_level);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    } else {
        png_set_compression_level(png, photograph_level);
        png_set_compression_strategy(png, Z_RLE);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    }
    png_write_info(png, info);
    if (!plan.palette) {
        // The bitmap's rows as they are: B, G, R and an unused byte.
        png_set_bgr(png);
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    }
    for (int y = 0; y < plan.height; ++y) {
        if (plan.palette) {
            pack_row(plan, y);
            png_write_row(png, plan.row.data());
        } else {
            png_write_row(png, reinterpret_cast<png_const_bytep>(bitmap.row(y)));
        }
    }
    png_write_end(png, info);
    return true;
}

struct WriteStructs {
    png_structp png = nullptr;
    png_infop info = nullptr;
    WriteStructs() {
        png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, on_error, on_warning);
        if (png) info = png_create_info_struct(png);
    }
    ~WriteStructs() { png_destroy_write_struct(&png, info ? &info : nullptr); }
    WriteStructs(const WriteStructs&) = delete;
    WriteStructs& operator=(const WriteStructs&) = delete;
};

}  // namespace

bool is_png_file_name(const char* file_name) {
    const std::size_t n = file_name ? std::strlen(file_name) : 0;
    if (n < 4) return false;
    const char* end = file_name + n - 4;
    return end[0] == '.' && (end[1] | 0x20) == 'p' && (end[2] | 0x20) == 'n' && (end[3] | 0x20) == 'g';
}

bool encode_png(const gdi::Bitmap& bitmap, std::vector<std::uint8_t>* bytes) {
    bytes->clear();
    if (bitmap.bits_per_pixel() != 32 || bitmap.width() <= 0 || bitmap.height() <= 0) return false;
    Plan plan;
    plan.width = bitmap.width();
    plan.height = bitmap.height();
    try {
        plan.palette = make_palette(bitmap, plan);
        if (plan.palette) {
            plan.row.resize((std::size_t(plan.width) * std::size_t(plan.depth) + 7) / 8);
        } else {
            plan.indices = {};
            plan.runs = mostly_runs(bitmap);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    WriteStructs structs;
    if (!structs.png || !structs.info) return false;
    Sink sink{bytes};
    png_set_write_fn(structs.png, &sink, write_bytes, flush_bytes);
    return write_image(structs.png, structs.info, bitmap, plan);
}

}  // namespace klv

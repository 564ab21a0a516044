// JPEG files through libjpeg-turbo: baseline and progressive, greyscale,
// YCbCr or RGB, CMYK and YCCK (Adobe's inverted CMYK), turned upright by
// their EXIF orientation. Arithmetic coding (which web browsers do not read
// either) is refused, and so are files of more than 500 scans, whose decoding
// could take minutes.
//
// A file that is cut short, or whose coded data are corrupt, is damaged: the
// warnings libjpeg gives for lost pixels end the reading like its errors.
// libjpeg reports them with longjmp; as for PNG files, the functions that
// call it with a setjmp of their own hold only plain values.
#include <cstdio>  // before jpeglib.h, which needs FILE and size_t
#include <jerror.h>
#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <memory>
#include <vector>

#include "graphics/klv.h"
#include "graphics/picture/orientation.h"
#include "graphics/picture/picture.h"

namespace klv {

namespace {

constexpr int largest_scan_count = 500;
constexpr std::size_t chunk_bytes = 1 << 16;

struct Errors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    bool too_many_scans = false;
};

// The bytes a file gives, a chunk at a time. At the end of the file it
// gives an end-of-image marker, as libjpeg's own sources do: the decoder
// then warns of lost pixels only where they are needed.
struct Source {
    jpeg_source_mgr manager;
    ByteSource* bytes = nullptr;
    std::uint64_t position = 0;
    bool ended = false;
    std::uint8_t chunk[chunk_bytes];
};

// Everything one reading holds; destroyed whether it ended well or not.
struct Decompressor {
    jpeg_decompress_struct info{};
    Errors errors{};
    jpeg_progress_mgr progress{};
    Source source{};
    bool created = false;
    ~Decompressor() {
        if (created) jpeg_destroy_decompress(&info);
    }
};

[[noreturn]] void on_error(j_common_ptr info) { std::longjmp(reinterpret_cast<Errors*>(info->err)->jump, 1); }

bool loses_pixels(int warning) {
    switch (warning) {
        case JWRN_BOGUS_PROGRESSION:
        case JWRN_HIT_MARKER:
        case JWRN_HUFF_BAD_CODE:
        case JWRN_JPEG_EOF:
        case JWRN_MUST_RESYNC:
        case JWRN_NOT_SEQUENTIAL:
            return true;
        default:
            return false;
    }
}

// Level -1 is a warning; the others are notes, and nothing is printed.
void on_message(j_common_ptr info, int level) {
    if (level < 0 && loses_pixels(info->err->msg_code)) on_error(info);
}

void on_progress(j_common_ptr info) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > largest_scan_count) {
        reinterpret_cast<Errors*>(info->err)->too_many_scans = true;
        on_error(info);
    }
}

void init_source(j_decompress_ptr) {}
void term_source(j_decompress_ptr) {}

boolean fill_input_buffer(j_decompress_ptr info) {
    auto* source = reinterpret_cast<Source*>(info->src);
    const std::uint64_t size = source->bytes->size();
    std::size_t count = 0;
    if (source->position < size) {
        count = std::size_t(std::min<std::uint64_t>(size - source->position, chunk_bytes));
        if (!source->bytes->read(source->position, source->chunk, count)) count = 0;
    }
    if (count == 0) {
        source->ended = true;
        source->chunk[0] = 0xFF;
        source->chunk[1] = JPEG_EOI;
        count = 2;
    }
    source->position += count;
    source->manager.next_input_byte = source->chunk;
    source->manager.bytes_in_buffer = count;
    return TRUE;
}

void skip_input_data(j_decompress_ptr info, long count) {
    auto* source = reinterpret_cast<Source*>(info->src);
    if (count <= 0) return;
    if (std::size_t(count) <= source->manager.bytes_in_buffer) {
        source->manager.next_input_byte += count;
        source->manager.bytes_in_buffer -= std::size_t(count);
        return;
    }
    source->position += std::uint64_t(count) - source->manager.bytes_in_buffer;
    source->manager.bytes_in_buffer = 0;
}

int error_code(const Decompressor& d) {
    if (d.errors.too_many_scans) return KLV_ERROR_UNSUPPORTED_PICTURE;
    switch (d.errors.manager.msg_code) {
        case JERR_ARITH_NOTIMPL:
        case JERR_BAD_PRECISION:
        case JERR_CONVERSION_NOTIMPL:
        case JERR_SOF_UNSUPPORTED:
            return KLV_ERROR_UNSUPPORTED_PICTURE;
        case JERR_OUT_OF_MEMORY:
            return KLV_ERROR_OUT_OF_MEMORY;
        default:
            return KLV_ERROR_DAMAGED_PICTURE;
    }
}

void set_up(Decompressor& d, ByteSource& bytes) {
    d.info.err = jpeg_std_error(&d.errors.manager);
    d.errors.manager.error_exit = on_error;
    d.errors.manager.emit_message = on_message;
    d.source.bytes = &bytes;
    d.source.manager.init_source = init_source;
    d.source.manager.fill_input_buffer = fill_input_buffer;
    d.source.manager.skip_input_data = skip_input_data;
    d.source.manager.resync_to_restart = jpeg_resync_to_restart;
    d.source.manager.term_source = term_source;
    d.progress.progress_monitor = on_progress;
}

int read_header(Decompressor& d) {
    if (setjmp(d.errors.jump)) return error_code(d);
    d.created = true;
    jpeg_create_decompress(&d.info);
    d.info.src = &d.source.manager;
    d.info.progress = &d.progress;
    jpeg_save_markers(&d.info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&d.info, TRUE);
    return KLV_OK;
}

struct Shape {
    int stored_width = 0;
    int stored_height = 0;
    bool cmyk = false;
    bool inverted = false;  // Adobe's CMYK: 0 is full ink
    int orientation = 1;
    bool has_multiple_scans = false;
};

// The EXIF orientation of the first APP1 segment that has one.
int orientation_of(const jpeg_decompress_struct& info) {
    for (jpeg_saved_marker_ptr m = info.marker_list; m != nullptr; m = m->next) {
        if (m->marker != JPEG_APP0 + 1) continue;
        const int orientation = exif_orientation({m->data, m->data_length});
        if (orientation != 1) return orientation;
    }
    return 1;
}

// The most pixels a file of that many bytes could hold: every block of a
// scan takes a bit at least, and one block of a subsampled component covers
// up to 16 blocks' pixels (rounded up here, for sampling factors of 3).
bool more_pixels_than_the_file_holds(const jpeg_decompress_struct& info, std::uint64_t file_bytes) {
    const int largest = info.max_h_samp_factor * info.max_v_samp_factor;
    int smallest = largest;
    for (int c = 0; c < info.num_components; ++c)
        smallest = std::min(smallest, info.comp_info[c].h_samp_factor * info.comp_info[c].v_samp_factor);
    const std::uint64_t pixels_per_bit = 64 * std::uint64_t((largest + smallest - 1) / smallest);
    return std::uint64_t(info.image_width) * info.image_height > pixels_per_bit * 8 * file_bytes;
}

int check_header(const Decompressor& d, ByteSource& bytes, Shape* shape) {
    const jpeg_decompress_struct& info = d.info;
    if (info.arith_code) return KLV_ERROR_UNSUPPORTED_PICTURE;
    switch (info.jpeg_color_space) {
        case JCS_GRAYSCALE:
        case JCS_YCbCr:
        case JCS_RGB:
            break;
        case JCS_CMYK:
        case JCS_YCCK:
            shape->cmyk = true;
            shape->inverted = info.saw_Adobe_marker;
            break;
        default:
            return KLV_ERROR_UNSUPPORTED_PICTURE;
    }
    if (int size_error = check_picture_size(info.image_width, info.image_height)) return size_error;
    if (more_pixels_than_the_file_holds(info, bytes.size())) return KLV_ERROR_DAMAGED_PICTURE;
    shape->stored_width = int(info.image_width);
    shape->stored_height = int(info.image_height);
    shape->orientation = orientation_of(info);
    return KLV_OK;
}

// C, M, Y, K to B, G, R, 0 in place: each colour is (1 - ink) * (1 - black)
// rounded; Adobe's files store 255 - ink.
void cmyk_to_pixels(std::uint8_t* row, int width, bool inverted) {
    for (int x = 0; x < width; ++x, row += 4) {
        const std::uint32_t flip = inverted ? 0 : 255;
        const std::uint32_t k = row[3] ^ flip;
        const auto colour = [k, flip](std::uint32_t ink) { return std::uint8_t(((ink ^ flip) * k + 127) / 255); };
        const std::uint8_t red = colour(row[0]), green = colour(row[1]), blue = colour(row[2]);
        row[0] = blue, row[1] = green, row[2] = red, row[3] = 0;
    }
}

void place(const Shape& shape, int row, const gdi::Pixel* pixels, gdi::Bitmap& bitmap) {
    const RowPlacement at = place_row(shape.orientation, shape.stored_width, shape.stored_height, row);
    gdi::Pixel* to = bitmap.pixels() + at.start;
    for (int x = 0; x < shape.stored_width; ++x, to += at.step) *to = pixels[x];
}

int decode(Decompressor& d, const Shape& shape, gdi::Bitmap& bitmap, gdi::Pixel* row_buffer) {
    if (setjmp(d.errors.jump)) return error_code(d);
    d.info.out_color_space = shape.cmyk ? JCS_CMYK : JCS_EXT_BGRX;  // X is 0xFF, and ignored
    jpeg_start_decompress(&d.info);
    if (d.source.ended && jpeg_has_multiple_scans(&d.info)) return KLV_ERROR_DAMAGED_PICTURE;
    while (d.info.output_scanline < d.info.output_height) {
        const int row = int(d.info.output_scanline);
        gdi::Pixel* pixels = shape.orientation == 1 ? bitmap.row(row) : row_buffer;
        JSAMPROW line = reinterpret_cast<JSAMPROW>(pixels);
        if (jpeg_read_scanlines(&d.info, &line, 1) != 1) return KLV_ERROR_DAMAGED_PICTURE;
        if (shape.cmyk) cmyk_to_pixels(line, shape.stored_width, shape.inverted);
        if (shape.orientation != 1) place(shape, row, pixels, bitmap);
    }
    return KLV_OK;
}

}  // namespace

int read_jpeg(ByteSource& source, Picture* picture) {
    *picture = Picture{};
    auto d = std::make_unique<Decompressor>();
    set_up(*d, source);
    if (int error = read_header(*d)) return error;
    Shape shape;
    if (int error = check_header(*d, source, &shape)) return error;
    const bool turned = swaps_sides(shape.orientation);
    BitmapPointer bitmap = new_picture_bitmap(turned ? shape.stored_height : shape.stored_width,
                                              turned ? shape.stored_width : shape.stored_height);
    if (!bitmap) return KLV_ERROR_OUT_OF_MEMORY;
    std::vector<gdi::Pixel> row_buffer;
    try {
        if (shape.orientation != 1) row_buffer.resize(std::size_t(shape.stored_width));
    } catch (const std::bad_alloc&) {
        return KLV_ERROR_OUT_OF_MEMORY;
    }
    if (int error = decode(*d, shape, *bitmap, row_buffer.data())) return error;
    *picture = whole_picture(std::move(bitmap));
    return KLV_OK;
}

}  // namespace klv

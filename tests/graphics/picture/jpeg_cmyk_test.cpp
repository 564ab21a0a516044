// The colour kinds ImageMagick does not write, written here with
// libjpeg-turbo's own encoder at quality 100 without subsampling: CMYK with
// no Adobe segment (0 is no ink), Adobe's CMYK without a colour transform
// (inverted: 255 is no ink) and RGB. Each loads close to its source (as
// jpeg_files_test.cpp compares), and the Adobe ones exactly as ImageMagick
// reads them (it takes every CMYK file for Adobe's, as web browsers do;
// Pillow, like this library, goes by the Adobe segment).
#include <gtest/gtest.h>

#include <cstdio>  // before jpeglib.h
#include <jpeglib.h>

#include <string>
#include <vector>

#include "graphics/klv.h"
#include "tests/graphics/export/temp_folder.h"
#include "tests/graphics/picture/jpeg_test_pictures.h"
#include "tests/graphics/picture/picture_test_files.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

enum class Kind { plain_cmyk, adobe_cmyk, rgb };

// The source's colours as C, M, Y, K inks (the largest colour sets K), or
// as R, G, B.
std::vector<std::uint8_t> samples(const Image& image, Kind kind) {
    std::vector<std::uint8_t> out;
    for (std::uint32_t p : image.pixels) {
        const int r = int(p >> 16), g = int(p >> 8 & 0xFF), b = int(p & 0xFF);
        if (kind == Kind::rgb) {
            out.insert(out.end(), {std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)});
            continue;
        }
        const int top = std::max({r, g, b});
        const auto ink = [top](int c) { return top == 0 ? 0 : 255 - (c * 255 + top / 2) / top; };
        int cmyk[4] = {ink(r), ink(g), ink(b), 255 - top};
        for (int v : cmyk) out.push_back(std::uint8_t(kind == Kind::adobe_cmyk ? 255 - v : v));
    }
    return out;
}

bool write_jpeg(const std::string& path, const Image& image, Kind kind) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = JDIMENSION(image.width);
    info.image_height = JDIMENSION(image.height);
    info.input_components = kind == Kind::rgb ? 3 : 4;
    info.in_color_space = kind == Kind::rgb ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, kind == Kind::rgb ? JCS_RGB : JCS_CMYK);
    info.write_Adobe_marker = kind != Kind::plain_cmyk;
    jpeg_set_quality(&info, 100, TRUE);
    for (int c = 0; c < info.num_components; ++c) info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> all = samples(image, kind);
    const std::size_t row_bytes = std::size_t(image.width) * std::size_t(info.input_components);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = all.data() + info.next_scanline * row_bytes;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

TEST(JpegCmyk, EachKindLoadsCloseToItsSourceAndAsImageMagickReadsIt) {
    ASSERT_GE(open_window(64, 64, "jpeg", 0, 0, false, false), 0);
    TempFolder folder;
    const Image source = test_photo(45, 29);
    const std::pair<Kind, const char*> kinds[] = {
        {Kind::plain_cmyk, "SOF0 1x1 1x1 1x1 1x1"}, {Kind::adobe_cmyk, "SOF0 1x1 1x1 1x1 1x1 Adobe 0"}, {Kind::rgb, "SOF0 1x1 1x1 1x1 Adobe 0"}};
    for (const auto& [kind, description] : kinds) {
        SCOPED_TRACE(description);
        const std::string name = kind == Kind::rgb ? "rgb.jpg" : kind == Kind::plain_cmyk ? "cmyk.jpg" : "adobe-cmyk.jpg";
        const std::string file = folder.file(name);
        ASSERT_TRUE(write_jpeg(file, source, kind));
        EXPECT_EQ(jpeg_kind(read_file_bytes(file)), description);
        keep_as_seed(file, "jpeg", name);
        ASSERT_EQ(load_image(file.c_str(), 0, 0), 0);
        const Image loaded = crop(page_image(0), source.width, source.height);
        const Difference from_source = difference(loaded, source);
        EXPECT_LE(from_source.largest, 6);
        EXPECT_LE(from_source.mean, 1.0);
        if (kind != Kind::plain_cmyk && have_imagemagick()) {
            EXPECT_EQ(difference(loaded, read_with_imagemagick(file, "-define jpeg:dct-method=islow")).largest, 0);
        }
    }
    close_window(-2);
}

}  // namespace
}  // namespace klv::test

// JPEG files ImageMagick writes at quality 100: each colour kind loads
// close to its source, and as ImageMagick itself decodes the file; a
// progressive file loads exactly as its baseline twin; a photo whose EXIF
// orientation says it was taken turned loads upright; a file cut short draws
// nothing.
//
// How they are compared: lossy coding moves a channel by a few levels even
// at quality 100, so against the source the largest difference of a channel
// may be 6 and the mean 1 (4:2:0 subsampling blurs colour edges further:
// only its mean is bound, by 4). Against ImageMagick's own decoding of the
// same file (the same libjpeg-turbo, asked for the same exact integer DCT,
// and CMYK turned into colours rounded to the nearest level) every pixel
// must be the same.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "graphics/klv.h"
#include "tests/graphics/export/temp_folder.h"
#include "tests/graphics/picture/jpeg_test_pictures.h"
#include "tests/graphics/picture/picture_test_files.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

class JpegFiles : public ::testing::Test {
protected:
    void SetUp() override {
        if (!have_imagemagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
        ASSERT_GE(open_window(64, 64, "jpeg", 0, 0, false, false), 0);
    }
    void TearDown() override { close_window(-2); }

    // The source written as PPM (or PGM when grey) and made a JPEG file.
    std::string make(const std::string& name, const Image& source, const std::string& options, bool grey = false) {
        const std::string from = folder.file(name + (grey ? ".pgm" : ".ppm")), file = folder.file(name);
        grey ? write_pgm(from, source) : write_ppm(from, source);
        EXPECT_TRUE(convert(from + " -quality 100 " + options + " JPEG:" + file));
        keep_as_seed(file, "jpeg", name);
        return file;
    }
    TempFolder folder;
};

const std::string islow = "-define jpeg:dct-method=islow";

TEST_F(JpegFiles, EachColourKindLoadsCloseToItsSourceAndAsImageMagickReadsIt) {
    const Image colours = test_photo(45, 29), greys = grey_photo(45, 29);
    const struct {
        const char* name;
        std::string options;
        std::string kind;  // what jpeg_kind says of the file
        bool grey;
        int largest;  // against the source; -1: not bound
        double mean;
    } cases[] = {
        {"ycbcr-444.jpg", "-sampling-factor 1x1", "SOF0 1x1 1x1 1x1", false, 6, 1.0},
        {"ycbcr-420.jpg", "-sampling-factor 2x2", "SOF0 2x2 1x1 1x1", false, -1, 4.0},
        {"grey.jpg", "-type Grayscale", "SOF0 1x1", true, 6, 1.0},
        {"ycck.jpg", "-colorspace CMYK -sampling-factor 1x1", "SOF0 1x1 1x1 1x1 1x1 Adobe 2", false, 6, 1.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Image& source = c.grey ? greys : colours;
        const std::string file = make(c.name, source, c.options, c.grey);
        EXPECT_EQ(jpeg_kind(read_file_bytes(file)), c.kind);
        ASSERT_EQ(load_image(file.c_str(), 0, 0), 0);
        const Image loaded = crop(page_image(0), source.width, source.height);
        const Difference from_source = difference(loaded, source);
        EXPECT_LE(from_source.largest, c.largest < 0 ? 255 : c.largest);
        EXPECT_LE(from_source.mean, c.mean);
        EXPECT_EQ(difference(loaded, read_with_imagemagick(file, islow)).largest, 0);
    }
}

TEST_F(JpegFiles, ProgressiveLoadsAsItsBaselineTwin) {
    const Image source = test_photo(45, 29);
    for (const std::string options : {"-sampling-factor 1x1", "-sampling-factor 2x2", "-colorspace CMYK"}) {
        SCOPED_TRACE(options);
        const std::string baseline = make("baseline.jpg", source, options);
        const std::string progressive = make("progressive.jpg", source, options + " -interlace JPEG");
        ASSERT_EQ(jpeg_kind(read_file_bytes(progressive)).substr(0, 4), "SOF2");
        ASSERT_EQ(load_image(baseline.c_str(), 0, 0), 0);
        const Image expected = page_image(0);
        ASSERT_EQ(load_image(progressive.c_str(), 0, 0), 0);
        EXPECT_EQ(count_differences(page_image(0), expected), 0);
    }
}

// Each of the eight orientations, its EXIF data in either byte order, loads
// as ImageMagick's -auto-orient turns it.
TEST_F(JpegFiles, TurnedPhotosLoadUpright) {
    const Image source = test_photo(45, 29);
    const Bytes plain = read_file_bytes(make("plain.jpg", source, "-sampling-factor 2x2"));
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const std::string name = "turned-" + std::to_string(orientation) + ".jpg", file = folder.file(name);
        write_bytes(file, with_orientation(plain, orientation, orientation % 2 == 0));
        if (orientation == 6) keep_as_seed(file, "jpeg", name);
        const Image upright = read_with_imagemagick(file, islow + " -auto-orient");
        ASSERT_EQ(upright.width, orientation >= 5 ? source.height : source.width);
        set_fill_style(1, 0);
        fill_bar(0, 0, 64, 64);
        ASSERT_EQ(load_image(file.c_str(), 0, 0), 0);
        const Image page = page_image(0);
        EXPECT_EQ(difference(crop(page, upright.width, upright.height), upright).largest, 0);
        EXPECT_EQ(page.at(upright.width, 0), 0u);
        EXPECT_EQ(page.at(0, upright.height), 0u);
    }
}

TEST_F(JpegFiles, CutShortDrawsNothing) {
    const Image source = test_photo(45, 29);
    const Bytes baseline = read_file_bytes(make("baseline.jpg", source, "-sampling-factor 2x2"));
    const Bytes progressive = read_file_bytes(make("progressive.jpg", source, "-interlace JPEG"));
    const Image before = page_image(0);
    for (const Bytes* file : {&baseline, &progressive})
        for (std::size_t size : {file->size() / 2, file->size() - 3}) {
            SCOPED_TRACE(std::to_string(size) + " of " + std::to_string(file->size()) + " bytes");
            write_bytes(folder.file("cut.jpg"), Bytes(file->begin(), file->begin() + long(size)));
            EXPECT_EQ(load_image(folder.file("cut.jpg").c_str(), 0, 0), KLV_ERROR_DAMAGED_PICTURE);
        }
    EXPECT_EQ(count_differences(page_image(0), before), 0);
}

}  // namespace
}  // namespace klv::test

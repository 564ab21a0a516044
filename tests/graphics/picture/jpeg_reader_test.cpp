// JPEG files the reader takes and refuses, written byte by byte (no encoder
// needed, so these run on every side): the kinds it does not read, files cut
// short or claiming more pixels than they hold, the limit on scans; and
// photos kept with the tests (files/) that decode everywhere to the pixels
// ImageMagick decoded from them on Linux, kept beside them as PNG: the
// Windows build's libjpeg-turbo, compiled from source in plain C, gives what
// the Linux one gives with its SIMD code.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "graphics/klv.h"
#include "tests/graphics/export/temp_folder.h"
#include "tests/graphics/picture/handmade_jpeg.h"
#include "tests/graphics/picture/picture_test_files.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

// The handmade baseline file with another size in its frame header.
Bytes with_size(Bytes b, int width, int height) {
    b[HandmadeJpeg::sof_height] = std::uint8_t(height >> 8), b[HandmadeJpeg::sof_height + 1] = std::uint8_t(height);
    b[HandmadeJpeg::sof_height + 2] = std::uint8_t(width >> 8), b[HandmadeJpeg::sof_height + 3] = std::uint8_t(width);
    return b;
}

class JpegReader : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GE(open_window(64, 48, "jpeg", 0, 0, false, false), 0); }
    void TearDown() override { close_window(-2); }

    int load(const std::string& name, const Bytes& bytes) {
        write_bytes(folder.file(name), bytes);
        return load_image(folder.file(name).c_str(), 0, 0);
    }
    TempFolder folder;
};

TEST_F(JpegReader, HandmadeFilesLoadGrey) {
    const HandmadeJpeg jpeg(20, 9);
    for (const auto& [name, bytes] : {std::pair{"baseline.jpg", jpeg.baseline()}, {"progressive.jpg", jpeg.progressive(70)}}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(load(name, bytes), 0);
        const Image page = page_image(0);
        EXPECT_EQ(page.at(0, 0), 0x808080u);
        EXPECT_EQ(page.at(19, 8), 0x808080u);
        EXPECT_EQ(page.at(20, 8), 0u);
        EXPECT_EQ(page.at(19, 9), 0u);
        keep_as_seed(folder.file(name), "jpeg", "handmade-" + std::string(name));
    }
}

// 500 scans are read; the 501st is one too many (a file of many scans can
// keep the decoder busy for minutes).
TEST_F(JpegReader, AtMost500Scans) {
    const HandmadeJpeg jpeg(16, 16);
    EXPECT_EQ(load("500-scans.jpg", jpeg.progressive(499)), 0);
    EXPECT_EQ(load("501-scans.jpg", jpeg.progressive(500)), KLV_ERROR_UNSUPPORTED_PICTURE);
}

TEST_F(JpegReader, OtherKindsAreUnsupported) {
    const Bytes good = HandmadeJpeg(16, 16).baseline();
    Bytes arithmetic = good, lossless = good, twelve_bits = good;
    arithmetic[HandmadeJpeg::sof_marker] = 0xC9;  // the arithmetic coder's SOF
    lossless[HandmadeJpeg::sof_marker] = 0xC3;
    twelve_bits[HandmadeJpeg::sof_precision] = 12;
    for (const auto& [name, bytes] : {std::pair{"arithmetic.jpg", arithmetic}, {"lossless.jpg", lossless},
                                      {"twelve.jpg", twelve_bits}}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(load(name, bytes), KLV_ERROR_UNSUPPORTED_PICTURE);
    }
}

TEST_F(JpegReader, CutShortOrOversizedFilesDrawNothing) {
    const HandmadeJpeg jpeg(64, 48);
    const Bytes baseline = jpeg.baseline(), progressive = jpeg.progressive(10);
    auto cut = [](const Bytes& b, std::size_t size) { return Bytes(b.begin(), b.begin() + long(size)); };
    set_fill_style(1, 0x0000FF);
    fill_bar(0, 0, 64, 48);
    const Image before = page_image(0);
    const std::pair<const char*, Bytes> damaged[] = {
        {"cut in the tables", cut(baseline, 40)},
        {"cut in the scan", cut(baseline, baseline.size() - 8)},
        {"progressive cut between scans", cut(progressive, progressive.size() - 20)},
        {"progressive without its end", cut(progressive, progressive.size() - 2)},
        {"no height", with_size(baseline, 64, 0)},
    };
    for (const auto& [what, bytes] : damaged) {
        SCOPED_TRACE(what);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(load("damaged.jpg", bytes), KLV_ERROR_DAMAGED_PICTURE);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    }
    EXPECT_EQ(load("wide.jpg", with_size(baseline, 32768, 8)), KLV_ERROR_PICTURE_TOO_LARGE);
    EXPECT_EQ(count_differences(page_image(0), before), 0);
    // A single scan whose every block is there is whole without the end
    // marker.
    EXPECT_EQ(load("no-end.jpg", cut(baseline, baseline.size() - 2)), 0);
    EXPECT_EQ(page_image(0).at(63, 47), 0x808080u);
}

// A file of a few hundred bytes cannot hold 32767 by 4096 pixels (each
// block of a scan takes a bit): it is damaged before the 512 MB its
// picture would take are asked for.
TEST_F(JpegReader, MorePixelsThanTheFileHoldsTakeNoMemory) {
#ifndef _WIN32
    auto peak_megabytes = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_maxrss / 1024;
    };
    const long before = peak_megabytes();
#endif
    EXPECT_EQ(load("claims.jpg", with_size(HandmadeJpeg(64, 48).baseline(), 32767, 4096)), KLV_ERROR_DAMAGED_PICTURE);
#ifndef _WIN32
    EXPECT_LT(peak_megabytes() - before, 100);
#endif
}

TEST_F(JpegReader, KeptPhotosDecodeAsOnLinux) {
    for (const std::string name : {"photo-420-turned", "photo-ycck"}) {
        SCOPED_TRACE(name);
        const std::string files = std::string(KLV_SOURCE_DIR) + "/tests/graphics/picture/files/" + name;
        set_fill_style(1, 0);
        fill_bar(0, 0, 64, 48);
        ASSERT_EQ(load_image((files + ".png").c_str(), 0, 0), 0);
        const Image expected = page_image(0);
        fill_bar(0, 0, 64, 48);
        ASSERT_EQ(load_image((files + ".jpg").c_str(), 0, 0), 0);
        EXPECT_EQ(count_differences(page_image(0), expected), 0);
    }
}

}  // namespace
}  // namespace klv::test

// Colours come out of a PNG as the nearest 8-bit level: every 16-bit
// sample value, and every colour and alpha of 8 bits drawn over black; for
// 16-bit alpha, colour times alpha taken at the file's precision and rounded
// once. The files are 256 by 256 PAM pictures turned into PNG by ImageMagick.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "graphics/klv.h"
#include "tests/graphics/export/temp_folder.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

constexpr int side = 256;

// A PAM picture of side by side pixels, samples of `bits` bits (8 or 16).
struct Samples {
    int channels = 1;  // 1 grey, 2 grey and alpha, 3 RGB, 4 RGB and alpha
    int bits = 8;
    std::vector<std::uint32_t> values;  // channels per pixel, rows top first
};

void write_pam(const std::string& path, const Samples& s) {
    static const char* const kinds[] = {"GRAYSCALE", "GRAYSCALE_ALPHA", "RGB", "RGB_ALPHA"};
    std::ofstream out(path, std::ios::binary);
    out << "P7\nWIDTH " << side << "\nHEIGHT " << side << "\nDEPTH " << s.channels << "\nMAXVAL "
        << ((1 << s.bits) - 1) << "\nTUPLTYPE " << kinds[s.channels - 1] << "\nENDHDR\n";
    for (std::uint32_t v : s.values) {
        if (s.bits == 16) out.put(char(v >> 8));
        out.put(char(v & 0xFF));
    }
}

std::uint32_t nearest_level(std::uint64_t value, int bits) {
    const std::uint64_t top = (std::uint64_t(1) << bits) - 1;
    return std::uint32_t((value * 255 + top / 2) / top);
}

// colour * alpha on the 0-255 scale, rounded once.
std::uint32_t over_black(std::uint64_t colour, std::uint64_t alpha, int bits) {
    const std::uint64_t top = (std::uint64_t(1) << bits) - 1;
    return std::uint32_t((colour * alpha * 255 + top * top / 2) / (top * top));
}

std::uint32_t expected_pixel(const Samples& s, std::size_t i) {
    const std::uint32_t* v = &s.values[i * std::size_t(s.channels)];
    const bool alpha = s.channels % 2 == 0;
    const int colours = alpha ? s.channels - 1 : s.channels;
    std::uint32_t rgb[3];
    for (int c = 0; c < 3; ++c) {
        const std::uint32_t sample = v[colours == 1 ? 0 : c];
        rgb[c] = alpha ? over_black(sample, v[colours], s.bits) : nearest_level(sample, s.bits);
    }
    return rgb[0] << 16 | rgb[1] << 8 | rgb[2];
}

class ExactColours : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("convert -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick's convert is not installed";
        ASSERT_GE(open_window(side, side, "colours", 0, 0, false, false), 0);
    }
    void TearDown() override { close_window(-2); }

    void expect_loaded(const Samples& s, const std::string& png_kind) {
        const std::string source = folder.file("source.pam"), file = folder.file("picture.png");
        write_pam(source, s);
        const std::string command = "convert " + source + " -depth " + std::to_string(s.bits) + " " + png_kind + file;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        ASSERT_EQ(load_image(file.c_str(), 0, 0), 0);
        const Image page = page_image(0);
        int wrong = 0;
        for (std::size_t i = 0; i < std::size_t(side * side); ++i) {
            const std::uint32_t want = expected_pixel(s, i), got = page.pixels[i];
            if (got != want && ++wrong <= 3)
                ADD_FAILURE() << "pixel " << i << ": " << std::hex << got << " not " << want << " from "
                              << s.values[i * std::size_t(s.channels)] << " "
                              << s.values[i * std::size_t(s.channels) + std::size_t(s.channels) - 1];
        }
        EXPECT_EQ(wrong, 0);
    }
    TempFolder folder;
};

// Every 16-bit value, in grey and shuffled across the three colours.
TEST_F(ExactColours, SixteenBitSamplesRoundToTheNearestLevel) {
    Samples grey{1, 16, {}}, rgb{3, 16, {}};
    std::mt19937 random(25);
    for (std::uint32_t v = 0; v < 65536; ++v) {
        grey.values.push_back(v);
        rgb.values.insert(rgb.values.end(), {v, (v * 40503u + 7) & 0xFFFF, std::uint32_t(random() & 0xFFFF)});
    }
    expect_loaded(grey, "-define png:color-type=0 PNG:");
    expect_loaded(rgb, "PNG48:");
}

// Every colour with every alpha at 8 bits; at 16 bits, pairs picked at
// random, many of them near a rounding edge when taken level by level.
TEST_F(ExactColours, TransparentPixelsOverBlackRoundOnce) {
    Samples rgba8{4, 8, {}}, grey_alpha16{2, 16, {}}, rgba16{4, 16, {}};
    std::mt19937 random(25);
    for (std::uint32_t y = 0; y < side; ++y)
        for (std::uint32_t x = 0; x < side; ++x) {
            rgba8.values.insert(rgba8.values.end(), {x, 255 - x, (x * 7 + y) & 0xFF, y});
            grey_alpha16.values.insert(grey_alpha16.values.end(), {std::uint32_t(random() & 0xFFFF), std::uint32_t(random() & 0xFFFF)});
            rgba16.values.insert(rgba16.values.end(), {std::uint32_t(random() & 0xFFFF), std::uint32_t(random() & 0xFFFF),
                                                       std::uint32_t(random() & 0xFFFF), std::uint32_t(random() & 0xFFFF)});
        }
    expect_loaded(rgba8, "PNG32:");
    expect_loaded(grey_alpha16, "-define png:color-type=4 PNG:");
    expect_loaded(rgba16, "PNG64:");
}

}  // namespace
}  // namespace klv::test

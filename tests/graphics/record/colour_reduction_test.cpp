// Frames as at most 256 colours: exact while they fit, close when reduced.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "graphics/record/colour_reduction.h"

namespace klv::test {
namespace {

std::vector<gdi::Pixel> shown(const PalettedPixels& p) {
    std::vector<gdi::Pixel> pixels;
    for (std::uint8_t i : p.indices) pixels.push_back(p.colours.at(i));
    return pixels;
}

int channel_error(gdi::Pixel a, gdi::Pixel b) {
    int worst = 0;
    for (int shift : {0, 8, 16}) worst = std::max(worst, std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)));
    return worst;
}

TEST(ColourReduction, PixelsOfAsManyColoursAsTheLimitKeepThemExactly) {
    std::vector<gdi::Pixel> pixels;
    for (gdi::Pixel i = 0; i < 256; ++i) pixels.push_back(i * 0x010203u ^ 0x00A05000u);
    pixels.insert(pixels.end(), pixels.rbegin(), pixels.rend());
    PalettedPixels result;
    reduce_colours(pixels.data(), pixels.size(), 256, &result);
    EXPECT_EQ(result.colours.size(), 256u);
    EXPECT_EQ(shown(result), pixels);
    reduce_colours(pixels.data(), 255, 255, &result);  // the first 255: as many as a frame with transparency holds
    EXPECT_EQ(result.colours.size(), 255u);
    EXPECT_EQ(shown(result), std::vector<gdi::Pixel>(pixels.begin(), pixels.begin() + 255));
}

// Random colours everywhere: each pixel ends near its own colour (15.1
// levels at worst of its channels on average; 16.1 by the median cut alone,
// without the k-means passes), and the whole palette is used.
TEST(ColourReduction, ManyColoursAreReducedToTheLimitCloseToEachPixel) {
    std::mt19937 random(7);
    std::vector<gdi::Pixel> pixels(5000);
    for (auto& p : pixels) p = random() & 0xFFFFFF;
    PalettedPixels result;
    reduce_colours(pixels.data(), pixels.size(), 256, &result);
    ASSERT_EQ(result.colours.size(), 256u);
    const std::vector<gdi::Pixel> after = shown(result);
    double total = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i) total += channel_error(pixels[i], after[i]);
    EXPECT_LT(total / double(pixels.size()), 15.5);
}

// A small patch of a colour unlike the rest keeps a colour of its own: the
// box with the largest error is split first, not the most crowded one.
TEST(ColourReduction, ASmallPatchOfAnOddColourKeepsItsColour) {
    std::vector<gdi::Pixel> pixels;
    for (int i = 0; i < 30000; ++i) pixels.push_back(gdi::Pixel(i % 300 * 255 / 300) * 0x010101u);
    for (int i = 0; i < 40; ++i) pixels.push_back(0xE01020u);
    PalettedPixels result;
    reduce_colours(pixels.data(), pixels.size(), 16, &result);
    ASSERT_EQ(result.colours.size(), 16u);
    const std::vector<gdi::Pixel> after = shown(result);
    EXPECT_LE(channel_error(after.back(), 0xE01020u), 4);
    int worst_grey = 0;
    for (int i = 0; i < 30000; ++i) worst_grey = std::max(worst_grey, channel_error(after[std::size_t(i)], pixels[std::size_t(i)]));
    EXPECT_LE(worst_grey, 16);  // 15 greys over 256 levels
}

}  // namespace
}  // namespace klv::test

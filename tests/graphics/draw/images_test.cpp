// Images grabbed from a page and pasted back: the buffer's layout and size,
// the five modes, clipping, and buffers whose header cannot be trusted.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#include "graphics/klv.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

constexpr int width = 40, height = 30;

struct ImageBuffer {
    std::vector<unsigned char> bytes;
    int width() const { return word(0); }
    int height() const { return word(1); }
    std::uint32_t pixel(int x, int y) const { return std::uint32_t(word(2 + y * width() + x)); }
    int word(int i) const {
        int value;
        std::memcpy(&value, bytes.data() + 4 * i, 4);
        return value;
    }
};

ImageBuffer grab(int left, int top, int right, int bottom) {
    ImageBuffer image{std::vector<unsigned char>(std::size_t(image_bytes(left, top, right, bottom)))};
    grab_image(left, top, right, bottom, image.bytes.data());
    return image;
}

class Images : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GE(open_window(width, height, "images", 0, 0, false, false), 0); }
    void TearDown() override { close_window(-2); }
    static gdi::Pixel at(int x, int y) { return page_image(0).pixels[std::size_t(y * width + x)]; }
};

TEST(ImageBytes, CountTheHeaderAndFourBytesAPixelOrRefuse) {
    EXPECT_EQ(image_bytes(5, 5, 5, 5), 12);
    EXPECT_EQ(image_bytes(-10, -10, 89, 89), 8 + 4 * 100 * 100);
    EXPECT_EQ(image_bytes(5, 0, 4, 0), 0);  // reversed
    EXPECT_EQ(image_bytes(0, 5, 0, 4), 0);
    EXPECT_EQ(image_bytes(INT_MIN, 0, INT_MAX, 0), 0);
    EXPECT_EQ(image_bytes(0, 0, 65535, 65535), 0);  // 2^32 pixels would wrap to a small number
    // The largest image an int can count, and one pixel more.
    EXPECT_EQ(image_bytes(0, 0, 536870908, 0), INT_MAX - 3);
    EXPECT_EQ(image_bytes(0, 0, 536870909, 0), 0);
}

TEST_F(Images, GrabGivesWidthHeightAndRowsOfPixelsWithBlackOffThePage) {
    set_fill_style(1, KLV_DARK_RED);
    fill_bar(0, 0, width, height);
    set_fill_style(1, KLV_YELLOW);
    fill_bar(0, 0, 1, 1);
    fill_bar(1, 1, 2, 2);
    const ImageBuffer image = grab(-2, -1, 2, 1);
    ASSERT_EQ(image.width(), 5);
    ASSERT_EQ(image.height(), 3);
    const std::uint32_t k = 0, r = 0x800000, y = 0xFFFF00;
    const std::uint32_t expected[3][5] = {{k, k, k, k, k}, {k, k, y, r, r}, {k, k, r, y, r}};
    for (int row = 0; row < 3; ++row)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(image.pixel(x, row), expected[row][x]) << x << "," << row;
    // Wholly off the page: all black.
    const ImageBuffer off = grab(INT_MAX - 3, INT_MIN, INT_MAX, INT_MIN + 2);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(off.word(2 + i), 0);
}

TEST_F(Images, GrabUsesLogicalCoordinatesAndIgnoresTheClip) {
    set_fill_style(1, KLV_DARK_RED);
    fill_bar(0, 0, 1, 1);
    set_viewport(10, 10, 20, 20, 1);
    const ImageBuffer image = grab(-10, -10, -10, -10);
    EXPECT_EQ(image.pixel(0, 0), 0x800000u);
}

TEST_F(Images, EachModeCombinesImageAndPage) {
    set_fill_style(1, 0x00C0F0);  // page pixel 0xF0C000
    fill_bar(0, 0, width, height);
    std::vector<unsigned char> image(12);
    const int header[2] = {1, 1};
    const std::uint32_t pixel = 0xFF0F00FF;  // the top byte is ignored
    std::memcpy(image.data(), header, 8);
    std::memcpy(image.data() + 8, &pixel, 4);
    const std::uint32_t expected[] = {0x0F00FF, 0xF0C000 ^ 0x0F00FF, 0xF0C000 | 0x0F00FF, 0xF0C000 & 0x0F00FF,
                                      0xF0FF00};
    for (int mode = KLV_PASTE_COPY; mode <= KLV_PASTE_NOT; ++mode) {
        paste_image(2 * mode, 3, image.data(), mode);
        EXPECT_EQ(at(2 * mode, 3), expected[mode]) << "mode " << mode;
        EXPECT_EQ(at(2 * mode + 1, 3), 0xF0C000u);
    }
}

TEST_F(Images, XorTwiceRestoresThePageExactly) {
    set_fill_style(8, KLV_LIGHT_MAGENTA);
    fill_bar(0, 0, width, height);
    set_color(KLV_YELLOW);
    draw_pie_slice(20, 15, 30, 300, 12);
    const Image before = page_image(0);
    const ImageBuffer sprite = grab(3, 2, 25, 20);
    for (int x : {-7, 11, 30}) {
        paste_image(x, 9, sprite.bytes.data(), KLV_PASTE_XOR);
        EXPECT_NE(page_image(0).pixels, before.pixels);
        paste_image(x, 9, sprite.bytes.data(), KLV_PASTE_XOR);
        EXPECT_EQ(page_image(0).pixels, before.pixels) << x;
    }
}

TEST_F(Images, PasteIsClippedAtThePageAndTheViewport) {
    const ImageBuffer black = grab(0, 0, 9, 9);
    set_fill_style(1, KLV_WHITE);
    fill_bar(0, 0, width, height);
    paste_image(-5, height - 5, black.bytes.data(), KLV_PASTE_COPY);  // over the bottom-left corner
    paste_image(INT_MAX - 4, INT_MIN, black.bytes.data(), KLV_PASTE_COPY);
    set_viewport(10, 5, 20, 15, 1);
    paste_image(-3, -3, black.bytes.data(), KLV_PASTE_COPY);  // covers device 7..16: only 10..16 inside
    const Image page = page_image(0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool pasted = (x >= 10 && x <= 16 && y >= 5 && y <= 11) || (x <= 4 && y >= height - 5);
            EXPECT_EQ(page.pixels[std::size_t(y * width + x)], pasted ? 0u : 0xFFFFFFu) << x << "," << y;
        }
}

TEST_F(Images, HeadersNoGrabCouldHaveWrittenAreRefusedUnread) {
    set_fill_style(1, KLV_WHITE);
    fill_bar(0, 0, width, height);
    const int headers[][2] = {{0, 5}, {5, 0}, {-1, 1}, {1, INT_MIN}, {65536, 65536}, {536870910, 1}, {INT_MAX, 2}};
    for (const auto& header : headers) {
        // Only the header exists: a paste that believed it would read past it.
        auto* image = new int[2]{header[0], header[1]};
        paste_image(0, 0, image, KLV_PASTE_COPY);
        EXPECT_EQ(take_error(), KLV_ERROR_BAD_IMAGE) << header[0] << " by " << header[1];
        delete[] image;
    }
    EXPECT_EQ(at(0, 0), 0xFFFFFFu);
}

TEST_F(Images, BuffersMayLieAtAnyAddress) {
    std::vector<unsigned char> storage(1 + 8 + 4 * 6);
    unsigned char* image = storage.data() + 1;
    grab_image(0, 0, 2, 1, image);
    paste_image(5, 5, image, KLV_PASTE_XOR);
    EXPECT_EQ(take_error(), KLV_OK);
}

}  // namespace
}  // namespace klv::test

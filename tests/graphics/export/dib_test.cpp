#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "graphics/export/dib.h"

namespace klv {
namespace {

gdi::BitmapInfoHeader header_of(DibHandle& dib) {
    gdi::BitmapInfoHeader header;
    DibLock lock(dib);
    std::memcpy(&header, lock.data(), sizeof header);
    return header;
}

// A 32-bit bitmap whose pixel (x, y) is 0x00RRGGBB with red x, green y, blue x + y.
std::unique_ptr<gdi::Bitmap> gradient(int width, int height) {
    auto bitmap = std::make_unique<gdi::Bitmap>(width, height, 32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap->row(y)[x] = gdi::Pixel((x & 0xFF) << 16 | (y & 0xFF) << 8 | ((x + y) & 0xFF));
    return bitmap;
}

TEST(BitmapToDib, ScreenBitmapBecomes24BitBottomUpRows) {
    auto bitmap = gradient(640, 480);
    DibHandle dib = bitmap_to_dib(bitmap.get(), nullptr);
    ASSERT_TRUE(dib);
    gdi::BitmapInfoHeader header = header_of(dib);
    EXPECT_EQ(header.size, 40u);
    EXPECT_EQ(header.width, 640);
    EXPECT_EQ(header.height, 480);
    EXPECT_EQ(header.planes, 1);
    EXPECT_EQ(header.bit_count, 24);
    EXPECT_EQ(header.compression, 0u);
    EXPECT_EQ(header.image_size, 921600u);
    EXPECT_EQ(dib.size(), 40u + 921600u);
    EXPECT_EQ(dib.lock_count(), 0);
    DibLock lock(dib);
    const std::uint8_t* first_row = lock.data() + 40;  // the bitmap's last row
    const std::uint8_t* pixel = first_row + 3 * 5;     // (5, 479)
    EXPECT_EQ(pixel[0], (5 + 479) & 0xFF);
    EXPECT_EQ(pixel[1], 479 & 0xFF);
    EXPECT_EQ(pixel[2], 5);
    const std::uint8_t* top_left = lock.data() + 40 + 1920 * 479;
    EXPECT_EQ(top_left[0] | top_left[1] | top_left[2], 0);
}

TEST(BitmapToDib, RowsArePaddedToFourBytes) {
    auto bitmap = gradient(641, 3);
    DibHandle dib = bitmap_to_dib(bitmap.get(), nullptr);
    ASSERT_TRUE(dib);
    EXPECT_EQ(header_of(dib).image_size, 1924u * 3);
    DibLock lock(dib);
    for (int row = 0; row < 3; ++row) EXPECT_EQ(lock.data()[40 + 1924 * row + 1923], 0) << row;
    EXPECT_EQ(lock.data()[40 + 1924 + 0], (0 + 1) & 0xFF);  // second stored row is y = 1
}

TEST(BitmapToDib, MonochromeBitmapHasTwoColourTable) {
    gdi::Bitmap bitmap(10, 2, 1);
    bitmap.mono_bits()[0] = 0xA0;  // row 0: pixels 0 and 2 white
    DibHandle dib = bitmap_to_dib(&bitmap, nullptr);
    ASSERT_TRUE(dib);
    gdi::BitmapInfoHeader header = header_of(dib);
    EXPECT_EQ(header.bit_count, 1);
    EXPECT_EQ(dib_color_count(header), 2);
    EXPECT_EQ(dib_palette_size(header), 8);
    EXPECT_EQ(header.image_size, 8u);
    DibLock lock(dib);
    const std::uint8_t table[8] = {0, 0, 0, 0, 255, 255, 255, 0};
    EXPECT_EQ(std::memcmp(lock.data() + 40, table, 8), 0);
    EXPECT_EQ(lock.data()[48], 0x00);      // bottom row (y = 1) all black
    EXPECT_EQ(lock.data()[48 + 4], 0xA0);  // top row
}

TEST(BitmapToDib, NoBitmapGivesNone) { EXPECT_FALSE(bitmap_to_dib(nullptr, nullptr)); }

TEST(DibHeader, ColourCountAndPaletteSize) {
    gdi::BitmapInfoHeader header;
    const std::pair<int, int> counts[] = {{1, 2}, {4, 16}, {8, 256}, {16, 0}, {24, 0}, {32, 0}};
    for (auto [bits, count] : counts) {
        header.bit_count = std::uint16_t(bits);
        EXPECT_EQ(dib_color_count(header), count) << bits;
        EXPECT_EQ(dib_palette_size(header), count * 4) << bits;
    }
    header.bit_count = 8;
    header.colors_used = 20;
    EXPECT_EQ(dib_color_count(header), 20);
    EXPECT_EQ(dib_palette_size(header), 80);
}

TEST(DibHandle, LocksNestAndMoveWithTheHandle) {
    DibHandle dib = DibHandle::allocate(16);
    ASSERT_TRUE(dib);
    std::uint8_t* data = dib.lock();
    EXPECT_EQ(dib.lock(), data);
    EXPECT_FALSE(dib.reallocate(64));  // locked blocks do not move
    EXPECT_FALSE(dib.release());
    dib.unlock();
    dib.unlock();
    data = dib.lock();
    data[15] = 7;
    dib.unlock();
    ASSERT_TRUE(dib.reallocate(64));
    DibHandle moved = std::move(dib);
    EXPECT_FALSE(dib);
    EXPECT_EQ(dib.lock(), nullptr);
    data = moved.lock();
    EXPECT_EQ(data[15], 7);
    EXPECT_EQ(data[63], 0);  // grown bytes are zero
    moved.unlock();
    EXPECT_EQ(free_dib(moved), 0);
    EXPECT_FALSE(moved);
    EXPECT_EQ(free_dib(moved), 0);
}

}  // namespace
}  // namespace klv

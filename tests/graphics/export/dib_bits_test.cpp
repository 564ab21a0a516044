#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/dib_bits.h"

namespace klv::gdi {
namespace {

// A header and a full 256-entry colour table behind it.
struct InfoBlock {
    BitmapInfo info;
    RgbQuad table[256];
};

InfoBlock request(const Bitmap& bitmap, int bit_count) {
    InfoBlock block{};
    block.info.header = BitmapInfoHeader{};
    block.info.header.width = bitmap.width();
    block.info.header.height = bitmap.height();
    block.info.header.bit_count = std::uint16_t(bit_count);
    return block;
}

bool same(const RgbQuad& q, int red, int green, int blue) {
    return q.red == red && q.green == green && q.blue == blue && q.reserved == 0;
}

TEST(DibBits, DefaultPalettesOfEachDepth) {
    Bitmap bitmap(4, 1, 32);
    InfoBlock eight = request(bitmap, 8);
    ASSERT_NE(dib_bits(bitmap, nullptr, 0, 1, nullptr, &eight.info), 0);
    EXPECT_EQ(eight.info.header.image_size, 4u);
    EXPECT_TRUE(same(color_table(&eight.info)[0], 0, 0, 0));
    EXPECT_TRUE(same(color_table(&eight.info)[7], 192, 192, 192));
    EXPECT_TRUE(same(color_table(&eight.info)[249], 255, 0, 0));
    EXPECT_TRUE(same(color_table(&eight.info)[255], 255, 255, 255));
    InfoBlock four = request(bitmap, 4);
    ASSERT_NE(dib_bits(bitmap, nullptr, 0, 1, nullptr, &four.info), 0);
    EXPECT_TRUE(same(color_table(&four.info)[1], 128, 0, 0));
    EXPECT_TRUE(same(color_table(&four.info)[12], 0, 0, 255));
    EXPECT_TRUE(same(color_table(&four.info)[15], 255, 255, 255));
    InfoBlock one = request(bitmap, 1);
    ASSERT_NE(dib_bits(bitmap, nullptr, 0, 1, nullptr, &one.info), 0);
    EXPECT_TRUE(same(color_table(&one.info)[0], 0, 0, 0));
    EXPECT_TRUE(same(color_table(&one.info)[1], 255, 255, 255));
}

TEST(DibBits, IndexedPixelsTakeTheNearestTableColour) {
    Bitmap bitmap(3, 1, 32);
    bitmap.row(0)[0] = 0xFF0000;  // red
    bitmap.row(0)[1] = 0xF00808;  // near red
    bitmap.row(0)[2] = 0xFFFFFF;
    InfoBlock eight = request(bitmap, 8);
    std::uint8_t row8[4] = {9, 9, 9, 9};
    ASSERT_EQ(dib_bits(bitmap, nullptr, 0, 1, row8, &eight.info), 1);
    const RgbQuad* table = color_table(&eight.info);
    EXPECT_TRUE(same(table[row8[0]], 255, 0, 0));
    EXPECT_TRUE(same(table[row8[1]], 255, 0, 0));
    EXPECT_TRUE(same(table[row8[2]], 255, 255, 255));
    EXPECT_EQ(row8[3], 0);  // padding
    InfoBlock four = request(bitmap, 4);
    std::uint8_t row4[4] = {};
    ASSERT_EQ(dib_bits(bitmap, nullptr, 0, 1, row4, &four.info), 1);
    EXPECT_EQ(row4[0], 0x99);  // two pixels of colour 9, the left one in the high half
    EXPECT_EQ(row4[1], 0xF0);
}

TEST(DibBits, OwnPaletteFillsTheTable) {
    Bitmap bitmap(2, 1, 32);
    bitmap.row(0)[1] = 0x102030;
    Palette palette({make_color(1, 2, 3), make_color(0x10, 0x20, 0x30)});
    InfoBlock eight = request(bitmap, 8);
    std::uint8_t row[4] = {};
    ASSERT_EQ(dib_bits(bitmap, &palette, 0, 1, row, &eight.info), 1);
    EXPECT_TRUE(same(color_table(&eight.info)[0], 1, 2, 3));
    EXPECT_TRUE(same(color_table(&eight.info)[1], 0x10, 0x20, 0x30));
    EXPECT_TRUE(same(color_table(&eight.info)[255], 255, 255, 255));  // the default beyond the palette
    EXPECT_EQ(row[1], 1);
}

TEST(DibBits, ScanLinesCountFromTheBottom) {
    Bitmap bitmap(1, 4, 32);
    for (int y = 0; y < 4; ++y) bitmap.row(y)[0] = gdi::Pixel(y + 1);
    InfoBlock block = request(bitmap, 24);
    std::vector<std::uint8_t> rows(4 * 4, 0xEE);
    EXPECT_EQ(dib_bits(bitmap, nullptr, 1, 10, rows.data(), &block.info), 3);  // lines past the top are cut
    EXPECT_EQ(rows[0], 3);  // scan line 1 is row y = 2
    EXPECT_EQ(rows[4], 2);
    EXPECT_EQ(rows[8], 1);
    EXPECT_EQ(rows[12], 0xEE);
    block.info.header.height = -4;  // rows top first
    EXPECT_EQ(dib_bits(bitmap, nullptr, 0, 4, rows.data(), &block.info), 4);
    EXPECT_EQ(rows[0], 1);
    EXPECT_EQ(rows[12], 4);
}

TEST(DibBits, RefusesFormatsItDoesNotMake) {
    Bitmap bitmap(2, 2, 32);
    std::uint8_t bits[64] = {};
    InfoBlock block = request(bitmap, 16);
    EXPECT_EQ(dib_bits(bitmap, nullptr, 0, 2, bits, &block.info), 0);
    block = request(bitmap, 24);
    block.info.header.width = 3;
    EXPECT_EQ(dib_bits(bitmap, nullptr, 0, 2, bits, &block.info), 0);
    block = request(bitmap, 24);
    block.info.header.size = 12;
    EXPECT_EQ(dib_bits(bitmap, nullptr, 0, 2, bits, &block.info), 0);
    block = request(bitmap, 24);
    EXPECT_EQ(dib_bits(bitmap, nullptr, 2, 1, bits, &block.info), 0);
    EXPECT_EQ(dib_bits(bitmap, nullptr, -1, 1, bits, &block.info), 0);
    EXPECT_EQ(dib_bits(bitmap, nullptr, 0, 2, bits, nullptr), 0);
}

}  // namespace
}  // namespace klv::gdi

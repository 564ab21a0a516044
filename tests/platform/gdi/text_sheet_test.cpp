// A sheet of every font the library builds (its font table, sizes 1 to 10,
// horizontal and upward), written as BMP files into the build folder for
// a person to look at; the test checks that each line inked its cells.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/font.h"
#include "platform/gdi/gdi.h"

namespace klv::gdi {
namespace {

struct TableFont {
    const char* face;
    int weight;
    int pitch_and_family;
};

const TableFont fonts[11] = {
    {"Console", 700, 0x01},    {"Times New Roman", 400, 0x12}, {"Small Fonts", 400, 0x32},
    {"MS Sans Serif", 400, 0x02}, {"Arial", 400, 0x22},       {"Script", 400, 0x42},
    {"Times New Roman", 400, 0x02}, {"Script", 400, 0x42},    {"Courier New", 400, 0x02},
    {"Times New Roman", 400, 0x02}, {"Courier New Bold", 700, 0x02},
};

// Cell (width, height) by size 1 to 10, for font 0, fonts 1 and 7, font 2,
// font 4, and the others.
const int sizes[5][10][2] = {
    {{8, 8}, {16, 16}, {24, 24}, {32, 32}, {40, 40}, {48, 48}, {56, 56}, {64, 64}, {72, 72}, {80, 80}},
    {{13, 18}, {14, 20}, {16, 23}, {22, 31}, {29, 41}, {36, 51}, {44, 62}, {55, 77}, {66, 93}, {88, 124}},
    {{3, 5}, {4, 6}, {4, 6}, {6, 9}, {8, 12}, {10, 15}, {12, 18}, {15, 22}, {18, 27}, {24, 36}},
    {{13, 19}, {14, 21}, {16, 24}, {22, 32}, {29, 42}, {36, 53}, {44, 64}, {55, 80}, {66, 96}, {88, 128}},
    {{11, 19}, {12, 21}, {14, 24}, {19, 32}, {25, 42}, {31, 53}, {38, 64}, {47, 80}, {57, 96}, {76, 128}},
};

int size_group(int font) {
    switch (font) {
        case 0: return 0;
        case 1: case 7: return 1;
        case 2: return 2;
        case 4: return 3;
        default: return 4;
    }
}

std::unique_ptr<Font> table_font(int number, int size, int direction) {
    FontDescription d;
    d.face_name = fonts[number].face;
    d.weight = fonts[number].weight;
    d.pitch_and_family = fonts[number].pitch_and_family;
    d.width = sizes[size_group(number)][size - 1][0];
    d.height = sizes[size_group(number)][size - 1][1];
    d.escapement = d.orientation = direction * 900;
    return std::unique_ptr<Font>(create_font(d));
}

void write_bmp(const Bitmap& bitmap, const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    int w = bitmap.width(), h = bitmap.height(), stride = (w * 3 + 3) & ~3;
    std::uint32_t file_size = 54 + std::uint32_t(stride * h);
    unsigned char header[54] = {'B', 'M'};
    auto put = [&](int at, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) header[at + i] = std::uint8_t(v >> (8 * i));
    };
    put(2, file_size, 4), put(10, 54, 4), put(14, 40, 4), put(18, std::uint32_t(w), 4);
    put(22, std::uint32_t(h), 4), put(26, 1, 2), put(28, 24, 2);
    std::fwrite(header, 1, 54, file);
    std::vector<unsigned char> row(std::size_t(stride), 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            Pixel p = bitmap.row(y)[x];
            row[std::size_t(3 * x)] = std::uint8_t(p), row[std::size_t(3 * x + 1)] = std::uint8_t(p >> 8);
            row[std::size_t(3 * x + 2)] = std::uint8_t(p >> 16);
        }
        std::fwrite(row.data(), 1, row.size(), file);
    }
    std::fclose(file);
}

// White text on navy cells: a pixel with any red in it is the glyphs' ink,
// never the cell fill.
bool inked(const Bitmap& bitmap, const Rect& box) {
    for (int y = std::max(box.top, 0); y < std::min(box.bottom, bitmap.height()); ++y)
        for (int x = std::max(box.left, 0); x < std::min(box.right, bitmap.width()); ++x)
            if ((bitmap.row(y)[x] >> 16 & 0xFF) != 0) return true;
    return false;
}

TEST(TextSheet, EveryTableFontDrawsAtEverySize) {
    const std::string sample = "Pie Chart 41.67% \xC9t\xE9 \x80 Wg";
    for (int number = 0; number < 11; ++number) {
        SCOPED_TRACE(number);
        Bitmap bitmap(1400, 1300, 32);
        DeviceContext dc;
        dc.bitmap = &bitmap;
        dc.text_color = make_color(255, 255, 255);
        dc.background_color = make_color(0, 0, 128);
        int y = 4;
        for (int size = 1; size <= 10; ++size) {
            auto font = table_font(number, size, 0);
            dc.font = font.get();
            std::string line = std::to_string(number) + "/" + std::to_string(size) + " " + sample;
            Size extent = text_extent(&dc, line.data(), int(line.size()));
            text_out(&dc, 4, y, line.data(), int(line.size()));
            EXPECT_TRUE(inked(bitmap, {4, y, 4 + extent.cx, y + extent.cy})) << size;
            y += extent.cy + 2;
        }
        int x = 4;
        for (int size = 1; size <= 10; ++size) {
            auto font = table_font(number, size, 1);
            dc.font = font.get();
            std::string line = std::to_string(size) + " Upward \xE9\x80";
            Size extent = text_extent(&dc, line.data(), int(line.size()));
            text_out(&dc, x, 1296, line.data(), int(line.size()));
            EXPECT_TRUE(inked(bitmap, {x, 1296 - extent.cx, x + extent.cy, 1296})) << size;
            x += extent.cy + 4;
        }
        dc.font = nullptr;
        write_bmp(bitmap, std::string(KLV_BINARY_DIR) + "/text_sheet_font_" + std::to_string(number) + ".bmp");
    }
}

}  // namespace
}  // namespace klv::gdi

// Run-length encoded BMPs: files ImageMagick writes (BI_RLE8) and files
// this test encodes itself (BI_RLE4 and BI_RLE8 with literal runs) load with
// the pixels of their uncompressed twins; pixels the codes skip keep the
// page's pixels; codes that run past the width, the height or the end of the
// file draw nothing and say the file is damaged.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "graphics/klv.h"
#include "tests/graphics/export/temp_folder.h"
#include "tests/graphics/picture/picture_test_files.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

constexpr std::uint32_t page_colour = 0x123456;  // 0x00RRGGBB, as pages hold it
constexpr int at_x = 3, at_y = 2;  // where the pictures are drawn

void put16(Bytes& b, std::uint32_t v) { b.insert(b.end(), {std::uint8_t(v), std::uint8_t(v >> 8)}); }
void put32(Bytes& b, std::uint32_t v) { put16(b, v & 0xFFFF), put16(b, v >> 16); }

// A BMP file with a 40-byte header, the palette and the pixel codes as given.
Bytes bmp_file(int width, int height, int bits, std::uint32_t compression, const std::vector<std::uint32_t>& palette,
               const Bytes& codes) {
    const std::uint32_t offset = 14 + 40 + 4 * std::uint32_t(palette.size());
    Bytes b = {'B', 'M'};
    put32(b, offset + std::uint32_t(codes.size())), put32(b, 0), put32(b, offset);
    put32(b, 40), put32(b, std::uint32_t(width)), put32(b, std::uint32_t(height)), put16(b, 1), put16(b, std::uint32_t(bits));
    put32(b, compression), put32(b, std::uint32_t(codes.size())), put32(b, 2835), put32(b, 2835);
    put32(b, std::uint32_t(palette.size())), put32(b, 0);
    for (std::uint32_t colour : palette) put32(b, colour);
    b.insert(b.end(), codes.begin(), codes.end());
    return b;
}

// Codes for rows of colour indices (top row first): runs where a pattern
// repeats (one index at 8 bits, two taking turns at 4), literal runs of 3
// or more elsewhere, an end of line after each row but the last, then the
// end of the bitmap.
Bytes encode(const std::vector<std::vector<int>>& rows, int bits) {
    Bytes codes;
    for (std::size_t r = rows.size(); r-- > 0;) {
        const std::vector<int>& row = rows[r];
        const std::size_t n = row.size();
        // The length of the run that starts at i (rows are under 255 long).
        const std::size_t period = bits == 8 ? 1 : 2;
        auto run_at = [&](std::size_t i) {
            std::size_t end = i + 1;
            while (end < n && (end - i < period || row[end] == row[end - period])) ++end;
            return end - i;
        };
        std::size_t i = 0;
        while (i < n) {
            std::size_t literal = 0;
            while (i + literal < n && run_at(i + literal) < 3) literal += run_at(i + literal);
            if (literal >= 3) {
                codes.insert(codes.end(), {0, std::uint8_t(literal)});
                std::size_t bytes = 0;
                for (std::size_t k = 0; k < literal; k += bits == 8 ? 1 : 2, ++bytes) {
                    const int high = row[i + k], low = bits == 4 && k + 1 < literal ? row[i + k + 1] : 0;
                    codes.push_back(std::uint8_t(bits == 8 ? high : high << 4 | low));
                }
                if (bytes % 2) codes.push_back(0);
                i += literal;
                continue;
            }
            const std::size_t run = run_at(i);
            const int second = bits == 4 && run > 1 ? row[i + 1] : row[i];
            codes.insert(codes.end(), {std::uint8_t(run), std::uint8_t(bits == 8 ? row[i] : row[i] << 4 | second)});
            i += run;
        }
        codes.insert(codes.end(), {0, std::uint8_t(r == 0 ? 1 : 0)});
    }
    return codes;
}

// Sixteen colours: index k is palette[k].
const std::vector<std::uint32_t> palette = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00,
                                            0x00FFFF, 0xFF00FF, 0x804020, 0x0AC85A, 0x808080, 0x400080,
                                            0x008040, 0xC0C0C0, 0x102030, 0xF08010};

Image picture_of(const std::vector<std::vector<int>>& rows) {
    Image image{int(rows[0].size()), int(rows.size()), {}};
    for (const auto& row : rows)
        for (int index : row) image.pixels.push_back(palette[std::size_t(index)]);
    return image;
}

// Rows with runs of every length, literal runs of odd and even length and
// a row whose last run ends on the last column.
std::vector<std::vector<int>> indices(int width, int height) {
    std::vector<std::vector<int>> rows(std::size_t(height), std::vector<int>(std::size_t(width), 0));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int band = (x * (y + 1)) / 7;
            rows[std::size_t(y)][std::size_t(x)] = y % 3 == 1 ? (x * 5 + y) % 16 : y % 3 == 2 ? (x % 2 ? 3 : 9) : band % 16;
        }
    return rows;
}

class RleBmp : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GE(open_window(80, 40, "rle", 0, 0, false, false), 0); }
    void TearDown() override { close_window(-2); }

    void fill_page() {
        set_viewport(0, 0, 80, 40, 0);
        set_fill_style(1, 0x563412);  // colours are given as 0x00BBGGRR
        fill_bar(0, 0, 80, 40);
    }
    std::string write(const std::string& name, const Bytes& bytes) {
        const std::string path = folder.file(name);
        write_bytes(path, bytes);
        return path;
    }
    // Wrong pixels of `expected` drawn at (at_x, at_y); 0x01000000 in
    // `expected` is a pixel the page keeps. Every pixel around it is kept too.
    int wrong_pixels(const Image& expected) {
        const Image page = page_image(0);
        int wrong = 0;
        for (int y = 0; y < page.height; ++y)
            for (int x = 0; x < page.width; ++x) {
                const int px = x - at_x, py = y - at_y;
                const bool inside = px >= 0 && py >= 0 && px < expected.width && py < expected.height;
                std::uint32_t want = inside ? expected.at(px, py) : 0x01000000;
                if (want == 0x01000000) want = page_colour;
                if (page.at(x, y) != want && ++wrong <= 3)
                    ADD_FAILURE() << "page pixel " << x << "," << y << ": " << std::hex << page.at(x, y) << " not " << want;
            }
        return wrong;
    }
    TempFolder folder;
};

TEST_F(RleBmp, ImageMagicksRle8LoadsLikeItsUncompressedTwin) {
    if (!have_imagemagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    for (int width : {40, 41, 64}) {
        SCOPED_TRACE(width);
        const Image source = picture_of(indices(width, 9));
        const std::string ppm = folder.file("source.ppm"), rle = folder.file("rle8.bmp"), twin = folder.file("twin8.bmp");
        write_ppm(ppm, source);
        ASSERT_TRUE(convert(ppm + " -type Palette -compress RLE BMP3:" + rle));
        ASSERT_TRUE(convert(ppm + " -type Palette -compress None BMP3:" + twin));
        const Bytes file = read_file_bytes(rle);
        ASSERT_EQ(u32_at(file, 30), 1u) << "BI_RLE8";
        ASSERT_EQ(u32_at(read_file_bytes(twin), 30), 0u) << "BI_RGB";
        keep_as_seed(rle, "bmp", "rle8-" + std::to_string(width) + ".bmp");
        fill_page();
        ASSERT_EQ(load_image(twin.c_str(), at_x, at_y), 0);
        const Image uncompressed = page_image(0);
        fill_page();
        ASSERT_EQ(load_image(rle.c_str(), at_x, at_y), 0);
        EXPECT_EQ(count_differences(page_image(0), uncompressed), 0);
        EXPECT_EQ(wrong_pixels(source), 0);
    }
}

// Literal runs are ImageMagick's to leave out: these files are encoded here.
TEST_F(RleBmp, OwnEncodingsLoadLikeTheirUncompressedTwins) {
    for (int bits : {4, 8})
        for (int width : {33, 34, 70}) {
            SCOPED_TRACE(std::to_string(bits) + " bits, width " + std::to_string(width));
            const auto rows = indices(width, 7);
            const std::string name = "rle" + std::to_string(bits) + "-" + std::to_string(width) + ".bmp";
            const std::string file = write(name, bmp_file(width, 7, bits, bits == 8 ? 1 : 2, palette, encode(rows, bits)));
            keep_as_seed(file, "bmp", name);
            fill_page();
            ASSERT_EQ(load_image(file.c_str(), at_x, at_y), 0);
            EXPECT_EQ(wrong_pixels(picture_of(rows)), 0);
            if (have_imagemagick()) {
                const std::string ppm = folder.file("source.ppm"), twin = folder.file("twin.bmp");
                write_ppm(ppm, picture_of(rows));
                ASSERT_TRUE(convert(ppm + " -type Palette -compress None BMP3:" + twin));
                const Image drawn = page_image(0);
                fill_page();
                ASSERT_EQ(load_image(twin.c_str(), at_x, at_y), 0);
                EXPECT_EQ(count_differences(page_image(0), drawn), 0);
            }
        }
}

// What an 8 by 4 picture of codes draws: a letter per pixel, top row first;
// R, G, B are palette entries 2, 3, 4 and '.' a pixel the page keeps.
struct Drawn {
    const char* what;
    int bits;
    Bytes codes;
    std::vector<std::string> rows;
};

Image expected_image(const std::vector<std::string>& rows) {
    Image image{int(rows[0].size()), int(rows.size()), {}};
    for (const std::string& row : rows)
        for (char c : row) image.pixels.push_back(c == 'R' ? 0xFF0000 : c == 'G' ? 0x00FF00 : c == 'B' ? 0x0000FF : 0x01000000);
    return image;
}

TEST_F(RleBmp, SkippedPixelsKeepThePage) {
    const std::vector<Drawn> cases = {
        {"a delta right and up", 8, {2, 2, 0, 2, 3, 1, 2, 3, 0, 1}, {"........", "........", ".....GG.", "RR......"}},
        {"lines ended early", 8, {3, 2, 0, 0, 0, 0, 1, 4, 0, 1}, {"........", "B.......", "........", "RRR....."}},
        {"a literal run then the bitmap ended", 8, {0, 3, 2, 3, 4, 0, 0, 0, 8, 3, 0, 1},
         {"........", "........", "GGGGGGGG", "RGB....."}},
        {"every row ended and no end of bitmap", 8, {8, 2, 0, 0, 8, 3, 0, 0, 8, 4, 0, 0, 8, 2, 0, 0},
         {"RRRRRRRR", "BBBBBBBB", "GGGGGGGG", "RRRRRRRR"}},
        {"a delta to the far corner", 8, {0, 2, 8, 3, 0, 1}, {"........", "........", "........", "........"}},
        {"4 bits: two colours in turn, an odd literal, a delta", 4, {5, 0x23, 0, 3, 0x42, 0x30, 0, 0, 0, 2, 3, 2, 2, 0x44, 0, 1},
         {"...BB...", "........", "........", "RGRGRBRG"}},
        {"only the end of the bitmap", 8, {0, 1}, {"........", "........", "........", "........"}},
    };
    for (const Drawn& c : cases) {
        SCOPED_TRACE(c.what);
        fill_page();
        const std::string file = write("drawn.bmp", bmp_file(8, 4, c.bits, c.bits == 8 ? 1 : 2, palette, c.codes));
        ASSERT_EQ(load_image(file.c_str(), at_x, at_y), 0);
        EXPECT_EQ(wrong_pixels(expected_image(c.rows)), 0);
        EXPECT_EQ(count_differences(screen_image(), page_image(0)), 0);
    }
}

TEST_F(RleBmp, CodesPastTheWidthHeightOrFileAreDamaged) {
    struct Refused {
        const char* what;
        int bits;
        Bytes codes;
    };
    const std::vector<Refused> cases = {
        {"a run past the width", 8, {9, 2, 0, 1}},
        {"a run past the width after a delta", 8, {0, 2, 4, 0, 5, 2, 0, 1}},
        {"a literal past the width", 8, {5, 2, 0, 4, 2, 2, 2, 2, 0, 1}},
        {"a 4-bit run past the width", 4, {9, 0x22, 0, 1}},
        {"a delta past the width", 8, {0, 2, 9, 0, 0, 1}},
        {"a delta past the height", 8, {0, 2, 0, 5, 0, 1}},
        {"a run above the last row", 8, {0, 2, 0, 4, 1, 2, 0, 1}},
        {"more lines than rows", 8, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
        {"cut inside a literal", 8, {0, 5, 2, 3}},
        {"a literal's padding cut off", 8, {0, 3, 2, 3, 4}},
        {"cut inside a delta", 8, {0, 2, 1}},
        {"cut inside a code", 8, {4}},
        {"cut with rows left", 8, {8, 2, 0, 0, 8, 2}},
        {"no codes", 8, {}},
    };
    fill_page();
    const Image before = page_image(0);
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = write("refused.bmp", bmp_file(8, 4, c.bits, c.bits == 8 ? 1 : 2, palette, c.codes));
        EXPECT_EQ(load_image(file.c_str(), at_x, at_y), KLV_ERROR_DAMAGED_PICTURE);
    }
    EXPECT_EQ(count_differences(page_image(0), before), 0);
    // Exactly to the edges is whole: a run to the last column, a delta to
    // the row past the last, a literal filling a row.
    const std::string edges = write("edges.bmp", bmp_file(8, 4, 8, 1, palette, {4, 2, 4, 3, 0, 0, 0, 8, 2, 2, 2, 2, 2, 2, 2, 2, 0, 2, 0, 3, 0, 1}));
    EXPECT_EQ(load_image(edges.c_str(), at_x, at_y), 0);
}

// Rows coded to the length of an uncompressed row, padded to 32 bits
// (ImageMagick codes them so): the padding's pixels are dropped; past it is
// damage.
TEST_F(RleBmp, PixelsInTheRowsPaddingAreDropped) {
    const struct {
        int width, bits;
        Bytes whole, past;
    } cases[] = {{5, 8, {8, 2, 0, 1}, {9, 2, 0, 1}}, {9, 4, {16, 0x22, 0, 1}, {16, 0x22, 1, 0x22, 0, 1}},
                 {5, 8, {0, 2, 8, 0, 0, 1}, {0, 2, 9, 0, 0, 1}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " wide");
        const std::uint32_t compression = c.bits == 8 ? 1 : 2;
        fill_page();
        ASSERT_EQ(load_image(write("whole.bmp", bmp_file(c.width, 1, c.bits, compression, palette, c.whole)).c_str(), at_x, at_y), 0);
        EXPECT_EQ(wrong_pixels(expected_image({std::string(std::size_t(c.width), c.whole[0] ? 'R' : '.')})), 0);
        EXPECT_EQ(load_image(write("past.bmp", bmp_file(c.width, 1, c.bits, compression, palette, c.past)).c_str(), 0, 0),
                  KLV_ERROR_DAMAGED_PICTURE);
    }
}

// Windows reads run-length encoding only bottom-up and at the depth it was
// made for.
TEST_F(RleBmp, TopDownOrOtherDepthsAreUnsupported) {
    const Bytes codes = {8, 2, 0, 1};
    Bytes top_down = bmp_file(8, 4, 8, 1, palette, codes);
    const std::uint32_t minus_four = std::uint32_t(-4);
    for (int i = 0; i < 4; ++i) top_down[22 + std::size_t(i)] = std::uint8_t(minus_four >> (8 * i));
    const std::pair<const char*, Bytes> files[] = {
        {"top-down", top_down},
        {"BI_RLE8 at 4 bits", bmp_file(8, 4, 4, 1, palette, codes)},
        {"BI_RLE4 at 8 bits", bmp_file(8, 4, 8, 2, palette, codes)},
        {"BI_RLE8 at 24 bits", bmp_file(8, 4, 24, 1, {}, codes)},
    };
    for (const auto& [what, bytes] : files) {
        SCOPED_TRACE(what);
        EXPECT_EQ(load_image(write("kind.bmp", bytes).c_str(), 0, 0), KLV_ERROR_UNSUPPORTED_PICTURE);
    }
}

// Runs are placed like the whole picture: clipped by the viewport, and far
// off the page at any position.
TEST_F(RleBmp, RunsAreClippedLikeAPaste) {
    fill_page();
    const std::string file = write("clip.bmp", bmp_file(8, 4, 8, 1, palette, {8, 2, 0, 0, 8, 3, 0, 0, 8, 4, 0, 0, 8, 2, 0, 1}));
    set_viewport(at_x + 2, at_y + 1, at_x + 6, at_y + 3, 1);
    ASSERT_EQ(load_image(file.c_str(), -2, -1), 0);
    set_viewport(0, 0, 80, 40, 0);
    EXPECT_EQ(wrong_pixels(expected_image({"........", "..BBBB..", "..GGGG..", "........"})), 0);
    for (int far : {INT_MAX, INT_MIN, INT_MAX - 3}) EXPECT_EQ(load_image(file.c_str(), far, far), 0);
}

}  // namespace
}  // namespace klv::test

// Pictures of every kind the reader takes, written at test time by
// ImageMagick (or, for the kinds it does not write, rewritten from its
// files), load with the right pixels. Each file is also left in
// fuzz-seeds/ of the build folder, the fuzzers' seed corpus.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "graphics/klv.h"
#include "tests/graphics/export/temp_folder.h"
#include "tests/graphics/picture/picture_test_files.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

constexpr int width = 7, height = 5;  // odd: rows are padded, bits packed
constexpr int at_x = 1, at_y = 2;     // where the pictures are drawn

// What a source file holds: 0x00RRGGBB and alpha per pixel, rows top first.
struct Source {
    std::string name;  // file name, with the extension ImageMagick reads
    std::vector<std::uint32_t> rgb;
    std::vector<std::uint8_t> alpha;  // empty: opaque
    bool gray = false;
};

Source colours(const std::string& name, int count) {
    Source s{name, {}, {}, false};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int k = (x * 3 + y * 7 + (y > 2)) % count;  // no two rows alike
            const std::uint32_t primaries[] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF,
                                               0xFFFF00, 0x00FFFF, 0xFF00FF, 0x804020, 0x0AC85A};
            s.rgb.push_back(count <= 10 ? primaries[k] : std::uint32_t(k * 0x070B03 + 0x102030) & 0xFFFFFF);
        }
    return s;
}

Source grays(const std::string& name, int levels) {
    Source s{name, {}, {}, true};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = std::uint32_t((x + 3 * y + (y > 2)) % levels * 255 / (levels - 1));
            s.rgb.push_back(v * 0x010101);
        }
    return s;
}

Source with_alpha(Source s, bool binary) {
    s.name = s.name.substr(0, s.name.rfind('.')) + ".pam";
    for (int i = 0; i < width * height; ++i) s.alpha.push_back(binary ? (i % 3 ? 255 : 0) : std::uint8_t(i * 37 % 256));
    return s;
}

void write_source(const std::string& path, const Source& s) {
    std::ofstream out(path, std::ios::binary);
    const bool alpha = !s.alpha.empty();
    if (alpha) {
        out << "P7\nWIDTH " << width << "\nHEIGHT " << height << "\nDEPTH " << (s.gray ? 2 : 4)
            << "\nMAXVAL 255\nTUPLTYPE " << (s.gray ? "GRAYSCALE_ALPHA" : "RGB_ALPHA") << "\nENDHDR\n";
    } else {
        out << (s.gray ? "P5\n" : "P6\n") << width << " " << height << "\n255\n";
    }
    for (std::size_t i = 0; i < s.rgb.size(); ++i) {
        const std::uint32_t p = s.rgb[i];
        if (s.gray) {
            out.put(char(p & 0xFF));
        } else {
            out.put(char(p >> 16)).put(char(p >> 8)).put(char(p));
        }
        if (alpha) out.put(char(s.alpha[i]));
    }
}

// Alpha a over black: colour * a / 255, rounded.
std::uint32_t expected_pixel(const Source& s, std::size_t i) {
    if (s.alpha.empty()) return s.rgb[i];
    const std::uint32_t a = s.alpha[i];
    std::uint32_t out = 0;
    for (int shift : {16, 8, 0}) out |= ((s.rgb[i] >> shift & 0xFF) * a + 127) / 255 << shift;
    return out;
}

// The header fields that say what kind of file ImageMagick wrote.
std::string bmp_kind(const Bytes& b) {
    if (b.size() < 34) return "short";
    if (u32_at(b, 14) == 12) return "core " + std::to_string(b[24] | b[25] << 8);
    return std::to_string(u32_at(b, 14)) + " " + std::to_string(b[28] | b[29] << 8) + " " +
           std::to_string(u32_at(b, 30));
}
std::string png_kind(const Bytes& b) {
    if (b.size() < 29) return "short";
    std::string kind = std::to_string(b[24]) + " " + std::to_string(b[25]) + (b[28] ? " interlaced" : "");
    for (std::size_t i = 8; i + 8 <= b.size(); ++i)
        if (std::string(b.begin() + long(i), b.begin() + long(i) + 4) == "tRNS") kind += " tRNS";
    return kind;
}

// Rows reversed and the height negated: the same picture stored top-down.
Bytes top_down(Bytes b) {
    const std::uint32_t offset = u32_at(b, 10);
    const std::int32_t h = std::int32_t(u32_at(b, 22));
    const std::size_t row = ((std::size_t(b[28] | b[29] << 8) * width + 31) / 32) * 4;
    std::vector<Bytes> rows;
    for (int y = 0; y < h; ++y) rows.emplace_back(b.begin() + long(offset + y * row), b.begin() + long(offset + (y + 1) * row));
    for (int y = 0; y < h; ++y) std::copy(rows[std::size_t(h - 1 - y)].begin(), rows[std::size_t(h - 1 - y)].end(), b.begin() + long(offset + y * row));
    const std::uint32_t negative = std::uint32_t(-h);
    for (int i = 0; i < 4; ++i) b[22 + std::size_t(i)] = std::uint8_t(negative >> (8 * i));
    return b;
}

// A 24-bit file made 32-bit BI_RGB, the unused fourth byte filled with junk.
Bytes thirty_two(const Bytes& b) {
    const std::uint32_t offset = u32_at(b, 10);
    const std::size_t row24 = ((24 * width + 31) / 32) * 4;
    Bytes out(b.begin(), b.begin() + offset);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const auto* p = &b[offset + std::size_t(y) * row24 + std::size_t(x) * 3];
            out.insert(out.end(), {p[0], p[1], p[2], 0x5A});
        }
    out[28] = 32;
    return out;
}

// Bit fields 5-5-5 are what a 16-bit BI_RGB file means: the same pixels
// with compression 0.
Bytes plain_rgb(Bytes b) {
    b[30] = 0;
    return b;
}

// Alpha 0 in every pixel: a writer that left the field empty, read as opaque.
Bytes empty_alpha(Bytes b) {
    for (std::size_t i = u32_at(b, 10) + 3; i < b.size(); i += 4) b[i] = 0;
    return b;
}

struct Case {
    std::string name;  // the file's, with its extension
    Source source;
    std::string convert;  // ImageMagick's arguments between source and output
    std::string kind;     // what bmp_kind or png_kind must say
    std::function<Bytes(const Bytes&)> rewrite = nullptr;
};

std::vector<Case> cases() {
    const Source ten = colours("ten.ppm", 10), many = colours("many.ppm", 35), two = colours("two.ppm", 2);
    const Source primaries = colours("primaries.ppm", 8);
    return {
        {"rgb24.bmp", ten, "-type TrueColor BMP3:", "40 24 0"},
        {"top-down24.bmp", ten, "-type TrueColor BMP3:", "40 24 0", top_down},
        {"rgb32.bmp", ten, "-type TrueColor BMP3:", "40 32 0", thirty_two},
        {"palette8.bmp", many, "-type Palette -compress None BMP3:", "40 8 0"},
        {"palette4.bmp", ten, "-type Palette BMP3:", "40 4 0"},
        {"top-down4.bmp", ten, "-type Palette BMP3:", "40 4 0", top_down},
        {"bilevel1.bmp", two, "-type Bilevel BMP3:", "40 1 0"},
        {"fields565.bmp", primaries, "-define bmp:subtype=RGB565 BMP:", "124 16 3"},
        {"fields555.bmp", primaries, "-define bmp:subtype=RGB555 BMP:", "124 16 3"},
        {"rgb16.bmp", primaries, "-define bmp:subtype=RGB555 BMP:", "124 16 0", plain_rgb},
        {"fields32-alpha.bmp", with_alpha(ten, false), "BMP:", "124 32 3"},
        {"fields32-empty-alpha.bmp", ten, "-alpha set BMP:", "124 32 3", empty_alpha},
        {"os2-24.bmp", ten, "BMP2:", "core 24"},
        {"os2-8.bmp", many, "-type Palette BMP2:", "core 8"},
        {"gray1.png", grays("g1.pgm", 2), "-define png:bit-depth=1 -define png:color-type=0 PNG:", "1 0"},
        {"gray2.png", grays("g2.pgm", 4), "-define png:bit-depth=2 -define png:color-type=0 PNG:", "2 0"},
        {"gray4.png", grays("g4.pgm", 16), "-define png:bit-depth=4 -define png:color-type=0 PNG:", "4 0"},
        {"gray8.png", grays("g8.pgm", 35), "-define png:bit-depth=8 -define png:color-type=0 PNG:", "8 0"},
        {"gray16.png", grays("g16.pgm", 35), "-depth 16 -define png:bit-depth=16 -define png:color-type=0 PNG:", "16 0"},
        {"palette1.png", two, "-define png:color-type=3 PNG:", "1 3"},
        {"palette4.png", ten, "-define png:color-type=3 PNG:", "4 3"},
        {"palette8.png", many, "-define png:color-type=3 PNG:", "8 3"},
        {"palette-transparent.png", with_alpha(ten, true), "PNG8:", "8 3 tRNS"},
        {"rgb8.png", ten, "PNG24:", "8 2"},
        {"rgb16.png", many, "PNG48:", "16 2"},
        {"rgb-interlaced.png", many, "-interlace PNG PNG24:", "8 2 interlaced"},
        {"rgba8.png", with_alpha(many, false), "PNG32:", "8 6"},
        {"rgba16.png", with_alpha(many, false), "PNG64:", "16 6"},
        {"gray-alpha8.png", with_alpha(grays("ga.pgm", 35), false), "-define png:color-type=4 PNG:", "8 4"},
        {"gray-alpha16.png", with_alpha(grays("ga.pgm", 35), false),
         "-depth 16 -define png:bit-depth=16 -define png:color-type=4 PNG:", "16 4"},
    };
}

class PictureFiles : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("convert -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick's convert is not installed";
        ASSERT_GE(open_window(20, 20, "pictures", 0, 0, false, false), 0);
    }
    void TearDown() override { close_window(-2); }
    TempFolder folder;
};

TEST_F(PictureFiles, EveryKindLoadsWithItsPixels) {
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        const std::string source = folder.file(c.source.name), file = folder.file(c.name);
        write_source(source, c.source);
        const std::string command = "convert " + source + " " + c.convert + file + " 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        if (c.rewrite) {
            const Bytes b = c.rewrite(read_file_bytes(file));
            std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), long(b.size()));
        }
        const Bytes bytes = read_file_bytes(file);
        ASSERT_EQ(c.name.ends_with(".png") ? png_kind(bytes) : bmp_kind(bytes), c.kind);
        keep_as_seed(file, c.name.ends_with(".png") ? "png" : "bmp", c.name);

        set_fill_style(1, 0);
        fill_bar(0, 0, 20, 20);
        ASSERT_EQ(load_image(file.c_str(), at_x, at_y), 0);
        const Image page = page_image(0);
        int wrong = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const std::uint32_t want = expected_pixel(c.source, std::size_t(y * width + x));
                const std::uint32_t got = page.at(at_x + x, at_y + y);
                if (got != want && ++wrong <= 3) ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << got << " not " << want;
            }
        EXPECT_EQ(page.at(at_x + width, at_y + height), 0u);
        EXPECT_EQ(page.at(at_x - 1, at_y), 0u);
    }
}

}  // namespace
}  // namespace klv::test

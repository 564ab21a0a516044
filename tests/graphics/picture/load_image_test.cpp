// load_image: pictures saved by the library come back as they were; bad
// files draw nothing and say why; pictures are placed and clipped as images
// are pasted.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <string>

#include "graphics/klv.h"
#include "tests/graphics/export/temp_folder.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class LoadImage : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GE(open_window(120, 90, "load", 0, 0, false, false), 0); }
    void TearDown() override { close_window(-2); }

    // A chart: hatched and dotted pie slices, a frame and text (smoothed
    // text edges give it many colours, but fewer than 257).
    void draw_chart() {
        set_color(5);
        draw_rectangle(0, 0, 119, 89);
        set_fill_style(8, 4);
        draw_pie_slice(60, 45, 0, 200, 40);
        set_fill_style(10, 2);
        draw_pie_slice(60, 45, 200, 360, 40);
        set_color(15);
        set_text_style(3, 0, 1);
        out_text_xy(5, 5, "41.67%");
    }
    // Over 256 colours: one per column and row band, `bands` tall.
    void draw_gradient(int bands = 3) {
        for (int x = 0; x < 120; ++x) {
            for (int band = 0; band < bands; ++band) {
                set_fill_style(1, (x * 2) | (band * 80) << 8 | (255 - x) << 16);
                fill_bar(x, band * 30, x + 1, band * 30 + 30);
            }
        }
    }
    void clear() {
        set_viewport(0, 0, 120, 90, 0);
        set_fill_style(1, 0);
        fill_bar(0, 0, 120, 90);
    }
    void write(const std::string& name, const Bytes& bytes) {
        std::ofstream(folder.file(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
    }
    TempFolder folder;
};

TEST_F(LoadImage, SavedPagesComeBackPixelForPixel) {
    // A chart (256 colours or fewer), a gradient (more, no runs) and both
    // (more colours, mostly runs): each way the PNG writer has.
    for (const char* name : {"chart.png", "chart.BMP", "gradient.PnG", "gradient.bmp", "both.png"}) {
        SCOPED_TRACE(name);
        clear();
        const std::string kind(name);
        if (!kind.starts_with("gradient")) draw_chart();
        if (!kind.starts_with("chart")) draw_gradient(kind.starts_with("both") ? 1 : 3);
        const Image drawn = page_image(0);
        const std::string file = folder.file(name);
        ASSERT_EQ(save_image(file.c_str(), 0, 0, INT_MAX, INT_MAX, true), 0);
        const Bytes bytes = read_file_bytes(file);
        const bool png = std::string(name).find(".bmp") == std::string::npos && std::string(name).find(".BMP") == std::string::npos;
        ASSERT_GE(bytes.size(), 8u);
        EXPECT_EQ(bytes[0], png ? 0x89 : 'B');
        clear();
        ASSERT_EQ(load_image(file.c_str(), 0, 0), 0);
        EXPECT_EQ(count_differences(page_image(0), drawn), 0);
    }
}

// The picture is drawn in logical coordinates, inside the viewport's clip,
// and shown on the screen.
TEST_F(LoadImage, PlacedAtTheViewportOriginAndClippedLikeAPaste) {
    draw_gradient();
    const Image picture = page_image(0);
    ASSERT_EQ(save_image(folder.file("g.png").c_str(), 0, 0, INT_MAX, INT_MAX, true), 0);
    clear();
    set_viewport(10, 20, 50, 60, 1);
    ASSERT_EQ(load_image(folder.file("g.png").c_str(), -5, -5), 0);
    const Image page = page_image(0);
    EXPECT_EQ(page.at(10, 20), picture.at(5, 5));
    EXPECT_EQ(page.at(49, 59), picture.at(44, 44));
    EXPECT_EQ(page.at(9, 20), 0u);
    EXPECT_EQ(page.at(50, 59), 0u);
    EXPECT_EQ(page.at(10, 60), 0u);
    EXPECT_EQ(screen_image().at(10, 20), picture.at(5, 5));
    for (int far : {INT_MAX, INT_MIN, INT_MAX - 10}) EXPECT_EQ(load_image(folder.file("g.png").c_str(), far, far), 0);
}

TEST_F(LoadImage, BadFilesDrawNothingAndSayWhy) {
    draw_chart();
    ASSERT_EQ(save_image(folder.file("good.bmp").c_str(), 0, 0, INT_MAX, INT_MAX, true), 0);
    ASSERT_EQ(save_image(folder.file("good.png").c_str(), 0, 0, INT_MAX, INT_MAX, true), 0);
    const Bytes bmp = read_file_bytes(folder.file("good.bmp")), png = read_file_bytes(folder.file("good.png"));
    write("half.bmp", Bytes(bmp.begin(), bmp.begin() + long(bmp.size() / 2)));
    write("half.png", Bytes(png.begin(), png.begin() + long(png.size() / 2)));
    Bytes rle = bmp;
    rle[30] = 1;  // BI_RLE8, but 24 bits a pixel
    write("rle.bmp", rle);
    Bytes crc = png;
    crc[crc.size() / 2] ^= 0x55;  // inside the image data
    write("crc.png", crc);
    Bytes wide = bmp;
    wide[18 + 2] = 0x80;  // width 32768 + 120
    write("wide.bmp", wide);
    Bytes many = png;  // 32767 by 4097 rows: over 2^27 pixels
    many[16] = 0, many[17] = 0, many[18] = 0x7F, many[19] = 0xFF, many[20] = 0, many[21] = 0, many[22] = 0x10, many[23] = 0x01;
    write("many.png", many);
    Bytes claims = png;  // 32767 by 4096: allowed, but far more than the file holds
    claims[22] = 0x10, claims[23] = 0x00;
    write("claims.png", claims);
    write("text.txt", Bytes{'h', 'e', 'l', 'l', 'o'});
    write("empty.bmp", {});

    clear();
    const Image before = page_image(0);
    const std::pair<const char*, int> files[] = {
        {"missing.png", KLV_ERROR_FILE_NOT_FOUND},     {"", KLV_ERROR_FILE_NOT_FOUND},
        {"text.txt", KLV_ERROR_NOT_A_PICTURE},         {"empty.bmp", KLV_ERROR_NOT_A_PICTURE},
        {"rle.bmp", KLV_ERROR_UNSUPPORTED_PICTURE},    {"half.bmp", KLV_ERROR_DAMAGED_PICTURE},
        {"half.png", KLV_ERROR_DAMAGED_PICTURE},       {"crc.png", KLV_ERROR_DAMAGED_PICTURE},
        {"claims.png", KLV_ERROR_DAMAGED_PICTURE},     {"wide.bmp", KLV_ERROR_PICTURE_TOO_LARGE},
        {"many.png", KLV_ERROR_PICTURE_TOO_LARGE},
    };
    for (const auto& [name, code] : files) {
        SCOPED_TRACE(name);
        const std::string path = *name ? folder.file(name) : folder.path().string();  // "": a folder
        EXPECT_EQ(load_image(path.c_str(), 0, 0), code);
        EXPECT_EQ(take_error(), code);
        EXPECT_STRNE(error_text(code), error_text(12345));
    }
    EXPECT_EQ(load_image(nullptr, 0, 0), KLV_ERROR_BAD_ARGUMENT);
    EXPECT_EQ(take_error(), KLV_ERROR_BAD_ARGUMENT);
    EXPECT_EQ(count_differences(page_image(0), before), 0);
    EXPECT_EQ(load_image(folder.file("good.png").c_str(), 0, 0), 0);
    EXPECT_EQ(take_error(), KLV_OK);
}

}  // namespace
}  // namespace klv::test

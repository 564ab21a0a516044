// Colour values, pens and brushes as the drawing state keeps them.
#include <gtest/gtest.h>

#include "graphics/draw/colors.h"
#include "graphics/draw/line_styles.h"
#include "graphics/klv.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

class DrawingState : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GE(open_window(64, 48, "state", 0, 0, false, false), 0); }
    void TearDown() override { close_window(-2); }
    WindowState* state() { return current_state(); }
};

TEST_F(DrawingState, ColourValuesNameThePaletteOrAnRgbColour) {
    EXPECT_EQ(color_to_rgb(15), 0xFFFFFFu);
    EXPECT_EQ(color_to_rgb(4), 0x000080u);
    EXPECT_EQ(color_to_rgb(16), 0x000010u);
    EXPECT_EQ(color_to_rgb(-1), 0xFFFFFFu);
    EXPECT_EQ(color_to_rgb(0x01000005), 0x000005u);
    // The sixteen colours as GDI's COLORREF values (0x00BBGGRR).
    const std::uint32_t palette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                       0x008080, 0xC0C0C0, 0x808080, 0xFF8080, 0x80FF80, 0xFFFF80,
                                       0x8080FF, 0xFF80FF, 0x00FFFF, 0xFFFFFF};
    for (int c = 0; c < 16; ++c) EXPECT_EQ(color_to_rgb(c), palette[c]) << c;
}

TEST_F(DrawingState, DrawingColourReachesTextAndPenOfEveryPage) {
    set_color(4);
    EXPECT_EQ(state()->draw_color, 4);
    for (gdi::DeviceContext* dc : state()->page_dc) {
        EXPECT_EQ(dc->text_color, 0x000080u);
        EXPECT_EQ(dc->pen->description().color, 0x000080u);
        EXPECT_EQ(dc->pen->description().style,
                  gdi::PS_GEOMETRIC | gdi::PS_USERSTYLE | gdi::PS_ENDCAP_SQUARE | gdi::PS_JOIN_BEVEL);
    }
}

TEST(LinePatterns, BecomeDashArrays) {
    struct Case {
        std::int32_t pattern;
        std::vector<std::uint32_t> dashes;
    };
    const Case cases[] = {
        {0x0000, {0, 16}},      {0x00FF, {7, 9}},          {0xFF00, {7, 8}}, {0xFFFF, {15, 0}},
        {0x0001, {0, 16}},      {0x8000, {0, 15}},         {0x0F0F, {3, 5, 3, 5}},
        {0xF0F0, {3, 5, 3, 4}}, {0x8001, {0, 15, 0, 0}},   {0x5555, {0, 2, 0, 2, 0, 2, 0, 2, 0, 2, 0, 2, 0, 2, 0, 2}},
        {0x7FFF0F0F, {3, 5, 3, 5}},  // only the low 16 bits count
    };
    for (const Case& c : cases) {
        const DashArray dashes = pattern_to_dashes(c.pattern);
        EXPECT_EQ(std::vector<std::uint32_t>(dashes.entries.begin(), dashes.entries.begin() + dashes.count), c.dashes)
            << std::hex << c.pattern;
    }
}

TEST_F(DrawingState, LineStyleBuildsPensAndRefusesBadArguments) {
    set_line_style(3, 0, 5);
    const gdi::PenDescription& pen = state()->page_dc[2]->pen->description();
    EXPECT_EQ(pen.width, 5);
    EXPECT_EQ(pen.dashes, (std::vector<std::uint32_t>{7, 4}));
    set_line_style(4, 0x00FF, 1);
    EXPECT_EQ(state()->page_dc[0]->pen->description().dashes, (std::vector<std::uint32_t>{7, 9}));
    for (auto [style, thickness] : {std::pair{5, 1}, {-1, 1}, {0, 0}, {2, -3}}) {
        state()->last_error = 0;
        set_line_style(style, 0, thickness);
        EXPECT_EQ(state()->last_error, -11);
        EXPECT_EQ(state()->line_style, 4);
        EXPECT_EQ(state()->line_thickness, 1);
    }
}

TEST_F(DrawingState, FillStyleGoesToTheActivePageOnly) {
    gdi::Brush* other = state()->page_dc[1]->brush;
    set_fill_style(8, 4);
    const gdi::Brush* brush = state()->page_dc[0]->brush;
    EXPECT_EQ(brush->style(), gdi::BS_HATCHED);
    EXPECT_EQ(brush->hatch(), gdi::HS_DIAGCROSS);
    EXPECT_EQ(brush->color(), 0x000080u);
    EXPECT_EQ(state()->page_dc[1]->brush, other);
    EXPECT_EQ(state()->fill_pattern, 8);
}

TEST_F(DrawingState, FillPatternZeroTakesTheBackgroundButKeepsTheColour) {
    set_fill_style(0, 4);
    EXPECT_EQ(state()->page_dc[0]->brush->style(), gdi::BS_SOLID);
    EXPECT_EQ(state()->page_dc[0]->brush->color(), 0x000000u);
    EXPECT_EQ(state()->fill_color, 0x000080);
}

TEST_F(DrawingState, FillPatternTwelveIsIgnoredAndOthersRefused) {
    set_fill_style(2, 4);
    const gdi::Brush* brush = state()->page_dc[0]->brush;
    set_fill_style(12, 9);
    EXPECT_EQ(state()->last_error, 0);
    for (int bad : {13, -1, 1000}) {
        set_fill_style(bad, 9);
        EXPECT_EQ(state()->last_error, -11);
        EXPECT_EQ(state()->page_dc[0]->brush, brush);
        EXPECT_EQ(state()->fill_pattern, 2);
        EXPECT_EQ(state()->fill_color, 0x000080);
    }
}

TEST_F(DrawingState, PatternBitmapsPaintTheFillColourOnTheBackground) {
    set_fill_style(4, 2);
    const gdi::Brush* brush = state()->page_dc[0]->brush;
    EXPECT_EQ(brush->style(), gdi::BS_PATTERN);
    EXPECT_EQ(brush->pattern_rows(), (gdi::PatternRows{0x1F, 0x3E, 0x7C, 0xF8, 0xF1, 0xE3, 0xC7, 0x8F}));
    fill_bar(0, 0, 8, 1);
    const Image page = page_image(0);
    EXPECT_EQ(page.at(0, 0), 0x008000u);  // a 0 bit: the fill colour
    EXPECT_EQ(page.at(3, 0), 0x000000u);  // a 1 bit: the background colour
    EXPECT_EQ(state()->page_dc[0]->text_color, 0xFFFFFFu);  // back to the drawing colour
}

// rgb_color names its RGB colour even where 0x00BBGGRR would be a colour
// number: (15, 0, 0) is a very dark red, not white 15, wherever a colour is
// taken; what get_pixel and get_palette_entry answer names it again.
struct ColourUse {
    const char* what;
    void (*draw)(int colour);
    int x, y;  // where the colour lands
};

const unsigned char every_other_row[8] = {0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0};
const ColourUse colour_uses[] = {
    {"set_color", [](int c) { set_color(c); draw_line(0, 0, 10, 0); }, 5, 0},
    {"set_bk_color", [](int c) { set_bk_color(c); clear_page(); }, 5, 5},
    {"set_fill_style, solid", [](int c) { set_fill_style(1, c); fill_bar(0, 0, 8, 8); }, 3, 3},
    {"set_fill_style, a pattern's 0 bits", [](int c) { set_fill_style(4, c); fill_bar(0, 0, 8, 1); }, 0, 0},
    {"set_fill_pattern", [](int c) { set_fill_pattern(every_other_row, c); fill_bar(0, 0, 8, 8); }, 2, 2},
    {"put_pixel", [](int c) { put_pixel(4, 4, c); }, 4, 4},
    // Taken for white, the border would not stop the fill: no pixel is white.
    {"flood_fill's border", [](int c) {
         set_color(c);
         draw_rectangle(0, 0, 9, 9);
         set_fill_style(1, KLV_YELLOW);
         flood_fill(20, 20, c);
     }, 0, 5},
    {"a palette entry, solid", [](int c) { set_palette_entry(3, c); set_fill_style(1, 3); fill_bar(0, 0, 8, 8); }, 1, 1},
    {"a palette entry, a pattern's 0 bits", [](int c) { set_palette_entry(5, c); set_fill_style(4, 5); fill_bar(0, 0, 8, 1); }, 0, 0},
    {"get_pixel's answer", [](int c) { put_pixel(6, 6, c); put_pixel(7, 7, get_pixel(6, 6)); }, 7, 7},
    {"get_palette_entry's answer", [](int c) { set_palette_entry(6, c); put_pixel(2, 2, get_palette_entry(6)); }, 2, 2},
};

TEST_F(DrawingState, RgbColoursBelowSixteenAreThatColourEverywhere) {
    EXPECT_EQ(rgb_color(15, 0, 0), 0x0100000F);
    EXPECT_EQ(rgb_color(0, 0, 0), 0x01000000);
    EXPECT_EQ(rgb_color(16, 0, 0), 0x000010);
    EXPECT_EQ(rgb_color(0x12, 0x34, 0x56), 0x563412);
    EXPECT_EQ(rgb_color(300, -5, 255), 0xFF00FF);  // parts outside 0 to 255 at the nearer end
    put_pixel(4, 4, rgb_color(15, 0, 0));
    EXPECT_EQ(get_pixel(4, 4), rgb_color(15, 0, 0));
    for (const int colour : {rgb_color(15, 0, 0), rgb_color(2, 0, 0)}) {
        const gdi::Pixel pixel = gdi::Pixel(colour & 0xFF) << 16;  // the page's 0x00RRGGBB
        for (const ColourUse& use : colour_uses) {
            set_bk_color(KLV_BLACK);
            clear_page();
            use.draw(colour);
            EXPECT_EQ(page_image(0).at(use.x, use.y), pixel) << use.what << ", " << std::hex << colour;
            EXPECT_EQ(color_to_rgb(get_pixel(use.x, use.y)), gdi::ColorRef(colour & 0xFFFFFF)) << use.what;
        }
    }
    EXPECT_EQ(get_palette_entry(KLV_BLACK), KLV_BLACK);  // entry 0 holds RGB 0: the same colour
    put_pixel(0, 0, KLV_WHITE);
    EXPECT_EQ(get_pixel(0, 0), KLV_WHITE);
}

}  // namespace
}  // namespace klv::test

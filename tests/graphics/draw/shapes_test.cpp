// The shapes, pixels and the current position through the public interface:
// what get_pixel reads back, XOR drawing, and arguments of any size.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <vector>

#include "graphics/klv.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

class Shapes : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GE(open_window(200, 150, "shapes", 0, 0, false, false), 0); }
    void TearDown() override { close_window(-2); }
};

TEST_F(Shapes, GetPixelReadsPaletteNumbersRgbValuesAndMinusOneOutside) {
    put_pixel(5, 5, KLV_YELLOW);
    put_pixel(6, 5, 0x123456);
    put_pixel(7, 5, 0xFFFFFF);  // white by value is palette colour 15
    EXPECT_EQ(get_pixel(5, 5), KLV_YELLOW);
    EXPECT_EQ(get_pixel(6, 5), 0x123456);
    EXPECT_EQ(get_pixel(7, 5), KLV_WHITE);
    EXPECT_EQ(get_pixel(8, 5), KLV_BLACK);
    set_palette_entry(3, 0x123456);  // the first equal entry wins
    EXPECT_EQ(get_pixel(6, 5), 3);
    set_color(KLV_LIGHT_RED);
    draw_circle(50, 50, 20);
    EXPECT_EQ(get_pixel(69, 50), KLV_LIGHT_RED);  // closed: no hole beside the start
    EXPECT_EQ(get_pixel(70, 50), KLV_BLACK);
    EXPECT_EQ(get_pixel(200, 0), -1);
    EXPECT_EQ(get_pixel(0, -1), -1);
    set_viewport(10, 10, 60, 60, 1);
    EXPECT_EQ(get_pixel(-5, -5), -1);             // on the page, outside the clip
    EXPECT_EQ(get_pixel(20, 40), KLV_LIGHT_RED);  // device (30, 50)
}

// On a busy page: every outline drawn twice in XOR mode restores it, for
// thin, dashed and wide pens; fills copy whatever the mode.
TEST_F(Shapes, XorOutlinesDrawnTwiceRestoreThePage) {
    set_fill_style(8, KLV_LIGHT_BLUE);
    fill_bar(0, 0, 200, 150);
    set_fill_style(1, KLV_DARK_RED);
    fill_ellipse(100, 75, 60, 40);
    const Image busy = page_image(0);
    const int zigzag[] = {10, 140, 40, 10, 70, 140, 100, 10, 10, 140};
    auto outlines = [&] {
        draw_line(0, 0, 199, 149);
        draw_rectangle(20, 20, 180, 130);
        draw_polyline(5, zigzag);
        draw_circle(100, 75, 50);
        draw_arc(100, 75, 30, 300, 35);
        draw_ellipse(100, 75, 0, 360, 90, 30);
        move_to(5, 145);
        line_to(195, 5);
        draw_bar_3d(130, 60, 170, 120, 10, 1);
    };
    set_write_mode(KLV_DRAW_XOR);
    for (int style : {0, 1}) {
        for (int thickness : {1, 3}) {
            set_line_style(style, 0, thickness);
            set_color(KLV_YELLOW);
            set_fill_style(0, 0);  // draw_bar_3d's bar is the background both times
            outlines();
            EXPECT_NE(page_image(0).pixels, busy.pixels);
            outlines();
            // The 3-D bar's face is filled each time: only it stays changed.
            EXPECT_EQ(count_differences(page_image(0), busy, {{130, 60, 170, 120}}), 0)
                << "style " << style << " thickness " << thickness;
        }
    }
    set_fill_style(1, KLV_LIGHT_GREEN);
    fill_bar(0, 0, 10, 10);
    fill_bar(0, 0, 10, 10);
    put_pixel(20, 0, KLV_WHITE);
    put_pixel(20, 0, KLV_WHITE);
    EXPECT_EQ(get_pixel(5, 5), KLV_LIGHT_GREEN);
    EXPECT_EQ(get_pixel(20, 0), KLV_WHITE);
}

TEST_F(Shapes, TheCurrentPositionMovesWithLinesToAndStopsAtTheIntegerRange) {
    move_to(10, 20);
    line_to(30, 20);
    EXPECT_EQ(get_x(), 30);
    line_by(0, 10);
    EXPECT_EQ(get_y(), 30);
    EXPECT_EQ(get_pixel(30, 25), KLV_WHITE);
    draw_line(0, 0, 5, 5);  // leaves it alone
    move_by(-5, 5);
    EXPECT_EQ(get_x(), 25);
    EXPECT_EQ(get_y(), 35);
    move_to(INT_MAX - 1, INT_MIN + 1);
    move_by(10, -10);
    EXPECT_EQ(get_x(), INT_MAX);
    EXPECT_EQ(get_y(), INT_MIN);
    line_by(INT_MAX, INT_MAX);
    clear_viewport();
    EXPECT_EQ(get_x(), 0);
    EXPECT_EQ(get_y(), 0);
}

TEST_F(Shapes, FloodFillStaysInsideAClippingViewport) {
    set_viewport(10, 10, 50, 50, 1);
    set_fill_style(1, KLV_LIGHT_GREEN);
    flood_fill(5, 5, KLV_WHITE);
    set_viewport(0, 0, 200, 150, 0);
    EXPECT_EQ(get_pixel(10, 10), KLV_LIGHT_GREEN);
    EXPECT_EQ(get_pixel(49, 49), KLV_LIGHT_GREEN);
    EXPECT_EQ(get_pixel(50, 30), KLV_BLACK);
    EXPECT_EQ(get_pixel(9, 30), KLV_BLACK);
}

// Radii, angles, centres and counts of any size: no undefined behaviour
// (UBSan runs this), and the work is bounded by what lands on the page.
TEST_F(Shapes, AnyArgumentIsSafeAndQuick) {
    const auto started = std::chrono::steady_clock::now();
    const int extremes[] = {INT_MIN, -1, 0, 1, 100, INT_MAX};
    set_fill_style(7, KLV_LIGHT_RED);
    for (int a : extremes) {
        for (int b : extremes) {
            put_pixel(a, b, a);
            get_pixel(a, b);
            draw_circle(a, b, b);
            draw_circle(100, 75, a);
            draw_arc(a, b, a, b, a);
            draw_arc(100, 75, a, b, 60);
            draw_ellipse(a, b, a, b, a, b);
            draw_ellipse(100, 75, b, a, 80, b);
            fill_ellipse(a, b, b, a);
            fill_ellipse(100, 75, a, 3);
            draw_sector(a, b, a, b, b, a);
            draw_sector(100, 75, a, b, 90, 40);
            flood_fill(a, b, b);
            draw_bar_3d(a, b, b, a, a, 1);
            move_to(a, b);
            move_by(a, b);
            line_to(b, a);
            line_by(a, b);
            const int points[] = {a, b, b, a, a, a, 100, 75};
            draw_polyline(4, points);
            fill_polygon(4, points);
        }
    }
    const int three[] = {1, 2, 3, 4, 5, 6};
    for (int count : {0, 1, 2, -5, INT_MIN}) {
        draw_polyline(count, three);
        fill_polygon(count, three);
    }
    draw_polyline(3, nullptr);
    fill_polygon(3, nullptr);
    std::vector<int> star(200000);
    for (std::size_t i = 0; i < star.size(); i += 2) {
        star[i] = i % 4 == 0 ? INT_MAX - int(i) : INT_MIN + int(i);
        star[i + 1] = int(i % 1000) - 500;
    }
    draw_polyline(100000, star.data());
    fill_polygon(100000, star.data());
    set_line_style(0, 0, 5);
    draw_polyline(100000, star.data());
    set_write_mode(KLV_DRAW_XOR);
    draw_polyline(100000, star.data());
    const auto spent = std::chrono::steady_clock::now() - started;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(spent).count(), 5000);
}

}  // namespace
}  // namespace klv::test

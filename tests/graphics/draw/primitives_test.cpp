// Shapes: their points, what they refresh, and arguments of any size.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <thread>

#include "graphics/draw/primitives.h"
#include "graphics/klv.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

class Primitives : public ::testing::Test {
protected:
    void open(bool double_buffer = false) {
        ASSERT_GE(open_window(200, 150, "shapes", 0, 0, double_buffer, false), 0);
    }
    void TearDown() override { close_window(-2); }
};

TEST(PieSlicePoints, FollowTheTruncatedCircle) {
    EXPECT_EQ(point_on_circle(319, 239, 0, 100), (gdi::Point{419, 239}));
    EXPECT_EQ(point_on_circle(319, 239, 75, 100), (gdi::Point{344, 143}));
    EXPECT_EQ(point_on_circle(319, 239, 225, 100), (gdi::Point{249, 309}));
    EXPECT_EQ(point_on_circle(319, 239, 360, 100), (gdi::Point{419, 239}));
    EXPECT_EQ(point_on_circle(319, 239, 90, 100), (gdi::Point{319, 139}));
    EXPECT_EQ(point_on_circle(319, 239, 30, 100), (gdi::Point{405, 190}));
    // Adjacent slices meet at the same point: the end of one is the start of the next.
    EXPECT_EQ(point_on_circle(319, 239, 75, 100), point_on_circle(319, 239, 75 + 360, 100));
}

TEST_F(Primitives, ShowTheirBoundingBoxes) {
    open();
    EXPECT_EQ(area_shown_by([] { fill_bar(0, 0, 9, 9); }), (gdi::Rect{0, 0, 10, 10}));
    EXPECT_EQ(area_shown_by([] { draw_line(10, 10, 5, 20); }), (gdi::Rect{5, 10, 11, 21}));
    EXPECT_EQ(area_shown_by([] { draw_rectangle(3, 4, 30, 40); }), (gdi::Rect{3, 4, 31, 41}));
    EXPECT_EQ(area_shown_by([] { draw_pie_slice(50, 60, 0, 90, 10); }), (gdi::Rect{40, 50, 61, 71}));
    EXPECT_EQ(area_shown_by([] { fill_bar(60, 50, 10, 10); }), (gdi::Rect{10, 10, 61, 51}));  // reversed
    EXPECT_EQ(area_shown_by([] { fill_bar(-1000, 140, 1000, 1000); }), (gdi::Rect{0, 140, 200, 150}));
}

TEST_F(Primitives, ShowInDeviceCoordinatesUnderAViewport) {
    open();
    set_viewport(100, 50, 200, 150, 0);
    EXPECT_EQ(area_shown_by([] { fill_bar(0, 0, 9, 9); }), (gdi::Rect{100, 50, 110, 60}));
}

// Beside the page by more than the 32-bit range in device pixels: nothing to
// show, and the window's thread paints no rectangle reaching the 32-bit ends.
TEST_F(Primitives, ShowNothingFarBesideThePageWhateverTheOrigin) {
    open();
    set_viewport(INT_MAX, 12, 1792941214, INT_MIN, 0);
    EXPECT_EQ(area_shown_by([] { draw_line(9, 487, 1503943071, 5); }), gdi::Rect{});
    set_viewport(INT_MIN, INT_MIN, 0, 0, 0);
    EXPECT_EQ(area_shown_by([] { fill_bar(-100, -100, -10, -10); }), gdi::Rect{});
    set_viewport(INT_MAX, INT_MAX, 0, 0, 0);
    EXPECT_EQ(area_shown_by([] { put_pixel(INT_MAX, INT_MAX, 4); }), gdi::Rect{});
}

// Drawing tells the window once per paint: whatever comes in between must
// still reach the screen, however drawing and painting interleave.
TEST_F(Primitives, EveryDrawingReachesTheScreen) {
    open();
    for (int i = 0; i < 30000; ++i) {
        put_pixel(i % 200, (i / 200) % 150, i * 7919 & 0xFFFFFF);
        // Pauses of two lengths vary how drawing and painting interleave; they order nothing.
        if (i % 1000 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(i % 3000 == 0 ? 9 : 1));
    }
    EXPECT_EQ(screen_image().pixels, page_image(0).pixels);
}

TEST_F(Primitives, DoNotRefreshAHiddenPage) {
    open(true);
    EXPECT_EQ(area_shown_by([] {
                  fill_bar(0, 0, 50, 50);
                  draw_line(0, 0, 40, 40);
              }),
              gdi::Rect{});
    EXPECT_EQ(page_image(1).at(10, 10), 0xFFFFFFu);
}

TEST_F(Primitives, ShowWhatTheyDrawOnTheScreen) {
    open();
    set_fill_style(1, 14);
    fill_bar(20, 20, 40, 40);
    const Image screen = screen_image();
    EXPECT_EQ(screen.at(20, 20), 0xFFFF00u);
    EXPECT_EQ(screen.at(39, 39), 0xFFFF00u);
    EXPECT_EQ(screen.at(40, 40), 0u);
}

TEST_F(Primitives, LineKeepsTheCurrentPosition) {
    open();
    gdi::DeviceContext* dc = current_state()->page_dc[0];
    dc->position = {7, 8};
    draw_line(10, 10, 5, 20);
    EXPECT_EQ(dc->position, (gdi::Point{7, 8}));
}

TEST_F(Primitives, AnyArgumentIsSafe) {
    open();
    set_fill_style(8, 4);
    draw_line(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    draw_line(INT_MAX, INT_MIN, INT_MIN, INT_MAX);
    draw_rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    fill_bar(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    draw_pie_slice(100, 75, 0, 90, INT_MAX);
    draw_pie_slice(INT_MIN, INT_MAX, INT_MIN, INT_MAX, -5);
    draw_pie_slice(100, 75, 0, 90, INT_MIN);
    set_viewport(INT_MAX, INT_MIN, 0, 0, 1);
    draw_line(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    fill_bar(0, 0, INT_MAX, INT_MAX);
    SUCCEED();
}

TEST_F(Primitives, MaxCoordinatesIgnoreTheViewport) {
    open();
    set_viewport(10, 20, 50, 60, 1);
    EXPECT_EQ(get_max_x(), 199);
    EXPECT_EQ(get_max_y(), 149);
}

}  // namespace
}  // namespace klv::test

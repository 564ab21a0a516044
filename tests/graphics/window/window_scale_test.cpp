// Whole-number scaling: the screen shows each page pixel as a block, the
// program keeps seeing page pixels.
#include <gtest/gtest.h>

#include <cstdlib>

#include "graphics/klv.h"
#include "platform/ui/testing.h"
#include "platform/ui/window_scale.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

// The headless screen is 1024 by 768: a 200 by 150 window with a title
// (6 pixels of frame, 25 of frame and caption) fits up to scale 4.
class WindowScale : public ::testing::Test {
protected:
    void TearDown() override {
        close_window(-2);
        unsetenv("KLV_SCALE");
    }
    ui::Window* window() { return current_window_handle(); }
};

TEST_F(WindowScale, ScreenShowsEveryPagePixelAsABlockAndTheProgramSeesPagePixels) {
    ASSERT_GE(open_window(200, 150, "scaled", 0, 0, false, false), 0);
    EXPECT_EQ(get_window_scale(), 1);
    set_window_scale(3);
    EXPECT_EQ(get_window_scale(), 3);
    EXPECT_EQ(get_max_x(), 199);
    EXPECT_EQ(get_max_y(), 149);
    const gdi::Rect outer = ui::testing::outer_rect(window());
    EXPECT_EQ(outer.right - outer.left, 606);
    EXPECT_EQ(outer.bottom - outer.top, 475);

    set_fill_style(1, 0x0000FF);  // RGB red
    fill_bar(10, 20, 11, 21);  // one pixel, drawn after the change
    const Image screen = screen_image();
    ASSERT_EQ(screen.width, 600);
    ASSERT_EQ(screen.height, 450);
    for (int y = 59; y <= 63; ++y)
        for (int x = 29; x <= 33; ++x) {
            const bool inside = x >= 30 && x < 33 && y >= 60 && y < 63;
            EXPECT_EQ(screen.at(x, y), inside ? 0xFF0000u : 0u) << x << "," << y;
        }

    // Every screen pixel of a block is that page pixel.
    keep_mouse_events(KLV_LEFT_DOWN, 1);
    ui::testing::mouse_button(window(), 0, true, 30, 60, 0, 1000);
    ui::testing::mouse_button(window(), 0, false, 30, 60, 0, 1010);
    ui::testing::mouse_button(window(), 0, true, 32, 62, 0, 5000);
    ui::testing::mouse_button(window(), 0, false, 32, 62, 0, 5010);
    wait_idle();
    int x = 0, y = 0;
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(take_mouse_event(KLV_LEFT_DOWN, &x, &y), 1);
        EXPECT_EQ(x, 10);
        EXPECT_EQ(y, 20);
    }

    // What was shown before a change is shown at the new scale at once.
    set_window_scale(1);
    EXPECT_EQ(screen_image().at(10, 20), 0xFF0000u);
    EXPECT_EQ(ui::testing::screen_size(window()).cx, 200);
}

TEST_F(WindowScale, ScaleNeverLetsTheWindowOutgrowTheScreen) {
    ASSERT_GE(open_window(200, 150, "big", 0, 0, false, false), 0);
    set_window_scale(8);
    EXPECT_EQ(get_window_scale(), 4);
    close_window(-1);

    setenv("KLV_SCALE", "2", 1);
    ASSERT_GE(open_window(200, 150, "from the environment", 0, 0, false, false), 0);
    EXPECT_EQ(get_window_scale(), 2);
    close_window(-1);
    ASSERT_GE(open_window(640, 480, "too large at 2", 0, 0, false, false), 0);
    EXPECT_EQ(get_window_scale(), 1);
}

TEST_F(WindowScale, ScalesOutsideOneToEightChangeNothingAndAreRecorded) {
    ASSERT_GE(open_window(200, 150, "refused", 0, 0, false, false), 0);
    set_window_scale(2);
    take_error();
    for (int bad : {0, -1, 9}) {
        set_window_scale(bad);
        EXPECT_EQ(take_error(), KLV_ERROR_BAD_ARGUMENT);
        EXPECT_EQ(get_window_scale(), 2);
    }
}

TEST(WindowScaleRules, EnvironmentThenDesktopResolution) {
    for (const char* ignored : {"0", "9", "2x", "", " 2"}) {
        setenv("KLV_SCALE", ignored, 1);
        EXPECT_EQ(ui::scale_from_environment(), 0) << '"' << ignored << '"';
    }
    setenv("KLV_SCALE", "8", 1);
    EXPECT_EQ(ui::scale_from_environment(), 8);
    unsetenv("KLV_SCALE");

    EXPECT_EQ(ui::scale_from_resources("Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n"), 2);
    EXPECT_EQ(ui::scale_from_resources("Xft.dpi: 143.9\n"), 1);
    EXPECT_EQ(ui::scale_from_resources("Xft.dpi:\t144"), 2);
    EXPECT_EQ(ui::scale_from_resources("Xft.dpi:\t240\n"), 3);
    EXPECT_EQ(ui::scale_from_resources("Xft.dpi:\t480\n"), 3);
    EXPECT_EQ(ui::scale_from_resources("Xft.dpi:\tmany\n"), 1);
    EXPECT_EQ(ui::scale_from_resources("*dpi:\t192\n"), 1);
    EXPECT_EQ(ui::scale_from_resources(""), 1);
    EXPECT_EQ(ui::scale_from_resources(nullptr), 1);
}

}  // namespace
}  // namespace klv::test

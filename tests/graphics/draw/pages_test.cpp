// The four pages and refresh control, on the headless backend: what the user
// sees is always a whole page, and nothing drawn reaches the screen while
// automatic refresh is off until the program asks for it.
#include <gtest/gtest.h>

#include "graphics/klv.h"
#include "platform/ui/testing.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

constexpr gdi::Pixel red = 0x800000, green = 0x008000, white = 0xFFFFFF;

class Pages : public ::testing::Test {
protected:
    void TearDown() override { close_window(-2); }
    void open(bool double_buffer) { ASSERT_GE(open_window(64, 48, "pages", 0, 0, double_buffer, false), 0); }
    static void fill_page(int color) {
        set_fill_style(1, color);
        fill_bar(0, 0, 64, 48);
    }
    // A pixel away from the text the tests draw.
    static gdi::Pixel seen() { return screen_image().pixels[40 * 64 + 50]; }
};

TEST_F(Pages, SwappedPagesShowWhatWasDrawnWhileDrawingGoesOnOnTheOtherPage) {
    open(true);
    fill_page(KLV_DARK_RED);  // page 1, hidden
    EXPECT_EQ(seen(), 0u);
    swap_pages();
    EXPECT_EQ(seen(), red);
    EXPECT_EQ(get_active_page(), 0);
    EXPECT_EQ(get_visual_page(), 1);
    fill_page(KLV_DARK_GREEN);
    EXPECT_EQ(seen(), red);
    swap_pages();
    EXPECT_EQ(seen(), green);
    set_visual_page(1);
    EXPECT_EQ(seen(), red);
}

// The brush lives in the active page; without it following the drawing, a
// fill after a page change would use whatever that page last held.
TEST_F(Pages, TheFillStyleFollowsTheActivePage) {
    open(false);
    set_fill_style(1, KLV_DARK_GREEN);
    set_active_page(2);
    fill_bar(0, 0, 4, 4);
    EXPECT_EQ(page_image(2).pixels[0], green);
    set_fill_style(1, KLV_DARK_RED);
    set_active_page(0);
    swap_pages();  // page 0 shown, page 0 drawn on: swapping equal pages changes nothing
    fill_bar(0, 0, 4, 4);
    EXPECT_EQ(page_image(0).pixels[0], red);
    set_active_page(3);
    set_fill_style(1, KLV_WHITE);  // replaces the brush page 0 still holds
    set_active_page(0);
    fill_bar(0, 0, 4, 4);
    EXPECT_EQ(page_image(0).pixels[0], white);
}

TEST_F(Pages, WithAutoRefreshOffNothingReachesTheScreenUntilRedrawn) {
    open(false);
    wait_idle();  // the window's first paint is behind us
    set_auto_refresh(0);
    ui::testing::take_invalidations(current_window_handle());
    fill_page(KLV_DARK_RED);
    draw_line(0, 0, 31, 23);
    out_text_xy(1, 1, "x");
    out_text("y");
    unsigned char image[12] = {1, 0, 0, 0, 1, 0, 0, 0};
    paste_image(3, 3, image, KLV_PASTE_COPY);
    EXPECT_TRUE(ui::testing::take_invalidations(current_window_handle()).empty());
    EXPECT_EQ(seen(), 0u);
    redraw_window();
    EXPECT_EQ(seen(), red);

    fill_page(KLV_DARK_GREEN);
    EXPECT_EQ(seen(), red);
    set_visual_page(0);  // a change of visual page shows it too
    EXPECT_EQ(seen(), green);
    set_auto_refresh(1);
    fill_page(KLV_DARK_RED);
    EXPECT_EQ(seen(), red);
}

}  // namespace
}  // namespace klv::test

// Several windows: drawing goes to the current one, which the program
// chooses; titles change; the shared palette reaches every window.
#include <gtest/gtest.h>

#include "graphics/klv.h"
#include "platform/ui/testing.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

class CurrentWindow : public ::testing::Test {
protected:
    void TearDown() override { close_window(-2); }
    static gdi::Pixel corner(int window) {
        set_current_window(window);
        return page_image(0).pixels[0];
    }
};

TEST_F(CurrentWindow, DrawingGoesToTheWindowChosen) {
    const int first = open_window(20, 20, "first", 0, 0, false, false);
    const int second = open_window(20, 20, "second", 0, 0, false, false);
    set_current_window(first);
    set_fill_style(1, KLV_DARK_RED);
    fill_bar(0, 0, 5, 5);
    set_current_window(second);
    set_fill_style(1, KLV_DARK_GREEN);
    fill_bar(0, 0, 5, 5);
    EXPECT_EQ(corner(first), 0x800000u);
    EXPECT_EQ(corner(second), 0x008000u);

    set_current_window(-1);
    set_current_window(second + 1);
    EXPECT_EQ(get_current_window(), second);
    close_window(first);
    set_current_window(first);
    EXPECT_EQ(get_current_window(), second);
    EXPECT_EQ(take_error(), KLV_ERROR_BAD_ARGUMENT);
    close_window(second);
    EXPECT_EQ(get_current_window(), -1);
}

TEST_F(CurrentWindow, AWindowMayBePlacedAnywhere) {
    // Far edges beyond the int range (UndefinedBehaviorSanitizer watches).
    EXPECT_GE(open_window(20, 20, "far", 2147483647, 2147483646, false, false), 0);
    EXPECT_GE(open_window(20, 20, "", -2147483647 - 1, 2147483647, false, false), 0);
}

TEST_F(CurrentWindow, TheTitleChangesOnTheWindowAsGiven) {
    open_window(20, 20, "", 0, 0, false, false);
    set_window_title("Caf\xE9 \x80 5");
    EXPECT_EQ(ui::testing::title(current_window_handle()), "Caf\xE9 \x80 5");
    EXPECT_EQ(current_state()->title, "Caf\xE9 \x80 5");
    set_window_title(nullptr);
    EXPECT_EQ(ui::testing::title(current_window_handle()), "");
}

// The palette is one for all windows: a window drawing in the changed
// colour number takes the new value, whichever window is current.
TEST_F(CurrentWindow, APaletteChangeReachesTheColoursOfEveryWindow) {
    const int first = open_window(20, 20, "first", 0, 0, false, false);
    set_color(KLV_DARK_RED);
    set_bk_color(KLV_DARK_RED);
    set_fill_style(1, KLV_DARK_RED);
    const int second = open_window(20, 20, "second", 0, 0, false, false);  // refills the palette
    set_palette_entry(KLV_DARK_RED, 0x123456);
    EXPECT_EQ(get_palette_entry(KLV_DARK_RED), 0x123456);
    set_palette_entry(KLV_DARK_BLUE, KLV_DARK_RED);  // a colour number copies the entry
    EXPECT_EQ(get_palette_entry(KLV_DARK_BLUE), 0x123456);
    EXPECT_EQ(get_current_window(), second);
    set_current_window(first);
    for (const gdi::DeviceContext* dc : current_state()->page_dc) {
        EXPECT_EQ(dc->text_color, 0x123456u);
        EXPECT_EQ(dc->background_color, 0x123456u);
        EXPECT_EQ(dc->pen->description().color, 0x123456u);
    }
    EXPECT_EQ(current_state()->page_dc[0]->brush->color(), 0x000080u);  // the fill keeps its colour
}

}  // namespace
}  // namespace klv::test

// The window procedure: paint, close requests, the system menu, the frame.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>

#include "graphics/klv.h"
#include "graphics/window/window_procedure.h"
#include "platform/ui/testing.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

class Procedure : public ::testing::Test {
protected:
    void TearDown() override { close_window(-2); }
};

TEST_F(Procedure, PaintCopiesTheInvalidRectangleFromTheVisualPage) {
    ASSERT_GE(open_window(120, 90, "paint", 0, 0, false, false), 0);
    wait_idle();
    WindowState* state = current_state();
    {
        std::lock_guard lock(state->mutex);  // drawn behind the library's back: no refresh
        gdi::Bitmap* page = state->page_dc[0]->bitmap;
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 120; ++x) page->row(y)[x] = std::uint32_t(x << 8 | y);
    }
    set_viewport(100, 50, 120, 90, 0);
    const gdi::Rect rect{10, 20, 30, 40};
    ui::invalidate_rect(state->hwnd, &rect, false);
    const Image screen = screen_image();
    EXPECT_EQ(screen.at(10, 20), std::uint32_t(10 << 8 | 20));
    EXPECT_EQ(screen.at(29, 39), std::uint32_t(29 << 8 | 39));
    EXPECT_EQ(screen.at(30, 20), 0u);  // outside: still the cleared page of the first paint
    EXPECT_EQ(screen.at(9, 20), 0u);
}

TEST_F(Procedure, DoubleBufferedWindowsShowPageZero) {
    ASSERT_GE(open_window(60, 40, "two pages", 0, 0, true, false), 0);
    EXPECT_EQ(current_state()->active_page, 1);
    EXPECT_EQ(current_state()->visual_page, 0);
    EXPECT_EQ(page_image(1).at(5, 5), 0u);
    EXPECT_EQ(screen_image().at(5, 5), 0u);
}

TEST_F(Procedure, CloseRequestIsIgnoredWithoutCloseExits) {
    ASSERT_GE(open_window(60, 40, "stays", 0, 0, false, false), 0);
    ui::Window* window = current_window_handle();
    ui::testing::request_close(window);
    ui::testing::press_alt_key(window, ui::VK_F1 + 3);  // Alt+F4
    ui::testing::choose_system_command(window, ui::SC_CLOSE);
    EXPECT_TRUE(wait_idle());
    EXPECT_TRUE(ui::testing::is_live(window));
}

// The program ends quietly (nothing on stderr: not the message of drawing
// without a window), within five seconds (alarm) rather than never.
TEST_F(Procedure, CloseRequestEndsTheProgramWithCloseExits) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            alarm(5);
            if (open_window(60, 40, "ends", 0, 0, false, true) < 0) std::_Exit(3);
            ui::testing::request_close(current_window_handle());
            wait_key();  // blocked here when the close request comes
            std::_Exit(4);
        },
        ::testing::ExitedWithCode(0), "^$");
}

TEST_F(Procedure, SystemMenuEndsWithTheFourCommands) {
    ASSERT_GE(open_window(60, 40, "", 0, 0, false, false), 0);
    const auto menu = ui::testing::system_menu(current_window_handle());
    ASSERT_GE(menu.size(), 6u);
    const std::vector<ui::testing::MenuItem> tail(menu.end() - 6, menu.end());
    const std::vector<ui::testing::MenuItem> expected = {
        {0, "", true},
        {4, "Save image as...", false},
        {1, "Print 2\" wide...", false},
        {2, "Print 4.5\" wide...", false},
        {3, "Print 7\" wide...", false},
        {0, "", true},
    };
    EXPECT_EQ(tail, expected);
    EXPECT_EQ(ui::testing::outer_rect(current_window_handle()), (gdi::Rect{0, 0, 66, 46}));
}

TEST_F(Procedure, UntitledWindowsAreDraggedByTheirFrame) {
    ASSERT_GE(open_window(60, 40, "", 0, 0, false, false), 0);
    ui::Window* window = current_window_handle();
    const gdi::Rect outer = ui::testing::outer_rect(window);
    // A point on the frame, in screen coordinates.
    EXPECT_EQ(ui::send_message(window, ui::WM_NCHITTEST, 0, ui::make_lparam(outer.left + 1, outer.top + 1)),
              ui::HTCAPTION);
    EXPECT_EQ(ui::send_message(window, ui::WM_NCHITTEST, 0, ui::make_lparam(outer.left + 20, outer.top + 20)),
              ui::HTCLIENT);
}

TEST_F(Procedure, LeftDoubleClickAnswersOne) {
    ASSERT_GE(open_window(60, 40, "t", 0, 0, false, false), 0);
    ui::Window* window = current_window_handle();
    EXPECT_EQ(ui::send_message(window, ui::WM_LBUTTONDBLCLK, 0, ui::make_lparam(3, 4)), 1);
    EXPECT_EQ(ui::send_message(window, ui::WM_SYSCOMMAND, 5, 0), 0);  // the default procedure's answer
}

}  // namespace
}  // namespace klv::test

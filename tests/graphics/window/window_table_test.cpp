// Opening and closing windows: indexes, the current window, the handshake
// and what is left behind.
#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "graphics/klv.h"
#include "graphics/window/window_thread.h"
#include "platform/ui/testing.h"
#include "tests/support/eventually.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

int thread_count() {
    int count = 0;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (dirent* entry = readdir(tasks))
            if (entry->d_name[0] != '.') ++count;
        closedir(tasks);
    }
    return count;
}

bool settles_at(int threads) {
    return eventually([threads] { return thread_count() <= threads; });
}

class WindowTableTest : public ::testing::Test {
protected:
    void TearDown() override { close_window(-2); }
    const WindowTable& table() { return window_table(); }
};

TEST_F(WindowTableTest, IndexesAreNeverReused) {
    const int first = open_window(40, 30, "a", 0, 0, false, false);
    const int second = open_window(40, 30, "b", 0, 0, false, false);
    EXPECT_EQ(second, first + 1);
    EXPECT_EQ(table().current_window, second);
    close_window(first);
    EXPECT_EQ(table().window_handles[std::size_t(first)], nullptr);
    EXPECT_EQ(table().current_window, second);
    const int third = open_window(40, 30, "c", 0, 0, false, false);
    EXPECT_EQ(third, second + 1);
    EXPECT_EQ(table().windows_opened, third + 1);
}

TEST_F(WindowTableTest, ClosingTheCurrentWindowLeavesNone) {
    const int older = open_window(40, 30, "a", 0, 0, false, false);
    open_window(40, 30, "b", 0, 0, false, false);
    close_window(-1);
    EXPECT_EQ(table().current_window, -3);
    EXPECT_NE(table().window_handles[std::size_t(older)], nullptr);
    close_window(-1);  // no current window: nothing happens
    EXPECT_NE(table().window_handles[std::size_t(older)], nullptr);
}

TEST_F(WindowTableTest, UnknownAndClosedIndexesAreIgnored) {
    const int index = open_window(40, 30, "a", 0, 0, false, false);
    close_window(index + 5);
    close_window(-7);
    EXPECT_EQ(table().current_window, index);
    close_window(index);
    close_window(index);
    EXPECT_EQ(table().current_window, -3);
}

TEST_F(WindowTableTest, CloseAllClosesEveryLiveWindow) {
    const int a = open_window(40, 30, "a", 0, 0, false, false);
    const int b = open_window(40, 30, "b", 0, 0, false, false);
    close_window(a);
    open_window(40, 30, "c", 0, 0, false, false);
    close_window(-2);
    for (int i = a; i <= b + 1; ++i) EXPECT_EQ(table().window_handles[std::size_t(i)], nullptr);
    EXPECT_EQ(table().current_window, -3);
}

TEST_F(WindowTableTest, OpenReturnsOnceTheWindowAndItsPagesExist) {
    open_window(64, 32, "pages", 0, 0, false, false);
    WindowState* state = current_state();
    ASSERT_NE(state, nullptr);
    for (gdi::DeviceContext* dc : state->page_dc) {
        ASSERT_NE(dc, nullptr);
        EXPECT_EQ(dc->bitmap->width(), 64);
        EXPECT_EQ(dc->bitmap->height(), 32);
    }
    EXPECT_TRUE(ui::testing::is_visible(state->hwnd));
    EXPECT_EQ(ui::testing::title(state->hwnd), "pages");
}

TEST_F(WindowTableTest, BadSizesGiveMinusOneWithAMessage) {
    const auto shown = ui::testing::message_boxes_shown().size();
    EXPECT_EQ(open_window(0, 10, "x", 0, 0, false, false), -1);
    EXPECT_EQ(open_window(10, -1, "x", 0, 0, false, false), -1);
    EXPECT_EQ(open_window(100000, 100000, "x", 0, 0, false, false), -1);
    const auto boxes = ui::testing::message_boxes_shown();
    ASSERT_EQ(boxes.size(), shown + 3);
    EXPECT_EQ(boxes.back().first, "Error");
}

TEST_F(WindowTableTest, NullTitleIsAnEmptyTitle) {
    ASSERT_GE(open_window(40, 30, nullptr, 0, 0, false, false), 0);
    EXPECT_EQ(current_state()->title, "");
}

TEST_F(WindowTableTest, OuterSizeAddsFramesAndCaption) {
    EXPECT_EQ(outer_window_size(640, 480, true).cx, 646);
    EXPECT_EQ(outer_window_size(640, 480, true).cy, 505);
    EXPECT_EQ(outer_window_size(640, 480, false).cy, 486);
    open_window(640, 480, "Pie Chart", 0, 0, false, true);
    const gdi::Rect outer = ui::testing::outer_rect(current_window_handle());
    EXPECT_EQ(outer, (gdi::Rect{0, 0, 646, 505}));
    EXPECT_EQ(ui::testing::client_size(current_window_handle()).cx, 640);
}

TEST_F(WindowTableTest, ManyOpenAndCloseCyclesLeaveNoThreads) {
    const int before = thread_count();
    for (int i = 0; i < 200; ++i) {
        ASSERT_GE(open_window(32, 24, "cycle", 0, 0, i % 2 == 0, false), 0);
        close_window(-1);
    }
    EXPECT_TRUE(settles_at(before)) << thread_count() << " threads, " << before << " before";
}

// Each child has five seconds (alarm) to end: a call that blocks instead
// fails here rather than hanging the suite.
TEST(NoCurrentWindow, DrawingEndsTheProgramWithAMessage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT((alarm(5), set_color(3)), ::testing::ExitedWithCode(1), "no current window");
    EXPECT_EXIT((alarm(5), wait_key()), ::testing::ExitedWithCode(1), "no current window");
    EXPECT_EXIT((alarm(5), out_text_xy(0, 0, "x")), ::testing::ExitedWithCode(1), "no current window");
}

}  // namespace
}  // namespace klv::test

// Mouse messages are recorded per kind; handlers see them after the queue.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "graphics/klv.h"
#include "graphics/window/mouse_events.h"
#include "platform/ui/testing.h"
#include "tests/support/eventually.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

class Mouse : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GE(open_window(100, 80, "mouse", 0, 0, false, false), 0); }
    void TearDown() override { close_window(-2); }
    ui::Window* window() { return current_window_handle(); }
    // Clicks a second apart: never a double click.
    void click(int x, int y) {
        time_ += 1000;
        ui::testing::mouse_button(window(), 0, true, x, y, 0, time_);
        ui::testing::mouse_button(window(), 0, false, x, y, 0, time_ + 10);
        wait_idle();
    }
    std::uint32_t time_ = 100000;
};

std::vector<std::pair<int, int>> take_all(int kind) {
    std::vector<std::pair<int, int>> taken;
    int x = 0, y = 0;
    while (take_mouse_event(kind, &x, &y)) taken.emplace_back(x, y);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
    return taken;
}

TEST_F(Mouse, EachKindKeepsItsLatestEvent) {
    click(10, 20);
    click(30, 40);
    click(50, 60);
    EXPECT_EQ(take_all(KLV_LEFT_DOWN), (std::vector<std::pair<int, int>>{{50, 60}}));
    EXPECT_EQ(take_all(KLV_LEFT_UP), (std::vector<std::pair<int, int>>{{50, 60}}));
    EXPECT_EQ(get_mouse_x(), 50);
    EXPECT_EQ(get_mouse_y(), 60);
}

TEST_F(Mouse, KeptKindsQueueEveryEventOldestFirst) {
    keep_mouse_events(KLV_LEFT_DOWN, 1);
    click(10, 20);
    click(30, 40);
    click(50, 60);
    EXPECT_EQ(take_all(KLV_LEFT_DOWN), (std::vector<std::pair<int, int>>{{10, 20}, {30, 40}, {50, 60}}));
    EXPECT_EQ(take_all(KLV_LEFT_UP), (std::vector<std::pair<int, int>>{{50, 60}}));
}

TEST_F(Mouse, DoubleClickRecordsDownUpDoubleUp) {
    for (int kind = 1; kind <= 3; ++kind) keep_mouse_events(kind, 1);
    ui::testing::mouse_button(window(), 0, true, 5, 5, 0, 1000);
    ui::testing::mouse_button(window(), 0, false, 5, 5, 0, 1050);
    ui::testing::mouse_button(window(), 0, true, 5, 5, 0, 1200);
    ui::testing::mouse_button(window(), 0, false, 5, 5, 0, 1250);
    wait_idle();
    EXPECT_EQ(take_all(KLV_LEFT_DOWN).size(), 1u);
    EXPECT_EQ(take_all(KLV_LEFT_UP).size(), 2u);
    EXPECT_EQ(take_all(KLV_LEFT_DOUBLE_CLICK).size(), 1u);
}

std::atomic<int> handler_x{0}, handler_y{0};
void remember_position(int x, int y) { handler_x = x, handler_y = y; }

// A position left of or above the window (a drag that leaves it) is packed
// as signed 16-bit numbers: it stays negative in the queues, in the latest
// position and for the handler.
TEST_F(Mouse, PositionsLeftOfOrAboveTheWindowKeepTheirSign) {
    keep_mouse_events(KLV_MOUSE_MOVE, 1);
    set_mouse_handler(KLV_LEFT_UP, remember_position);
    const std::vector<std::pair<int, int>> moves{{-7, 5}, {3, -2}, {-32768, -1}};
    for (auto [x, y] : moves) ui::send_message(window(), ui::WM_MOUSEMOVE, ui::MK_LBUTTON, ui::make_lparam(x, y));
    ui::send_message(window(), ui::WM_LBUTTONUP, 0, ui::make_lparam(-40, -30));
    EXPECT_EQ(take_all(KLV_MOUSE_MOVE), moves);
    EXPECT_EQ(take_all(KLV_LEFT_UP), (std::vector<std::pair<int, int>>{{-40, -30}}));
    EXPECT_EQ(get_mouse_x(), -40);
    EXPECT_EQ(get_mouse_y(), -30);
    EXPECT_EQ(handler_x, -40);
    EXPECT_EQ(handler_y, -30);
}

TEST_F(Mouse, KindsOutsideTheRangeAreIgnored) {
    int x = 0, y = 0;
    EXPECT_EQ(has_mouse_event(10), 0);
    EXPECT_EQ(take_mouse_event(-1, &x, &y), 0);
    EXPECT_EQ(x, -1);
    clear_mouse_events(99);
    keep_mouse_events(10, 1);
    set_mouse_handler(-5, nullptr);
}

std::atomic<int> handled_x{0};
std::atomic<bool> queue_had_it{false};
std::atomic<std::thread::id> handler_thread{};

void remember(int x, int) {
    handled_x = x;
    queue_had_it = current_state()->click_queue[0].positions.size() == 1 &&
                   ui::lparam_x(current_state()->mouse_position) == x;
    handler_thread = std::this_thread::get_id();
}

TEST_F(Mouse, HandlersRunOnTheWindowThreadAfterTheQueue) {
    set_mouse_handler(KLV_MOUSE_MOVE, remember);
    ui::testing::mouse_move(window(), 33, 44);
    wait_idle();
    EXPECT_EQ(handled_x, 33);
    EXPECT_TRUE(queue_had_it);
    EXPECT_NE(handler_thread.load(), std::this_thread::get_id());
    set_mouse_handler(KLV_MOUSE_MOVE, nullptr);
    ui::testing::mouse_move(window(), 1, 2);
    wait_idle();
    EXPECT_EQ(handled_x, 33);
}

// A handler acts on its own window and reads nothing of the table of
// windows, which this thread changes meanwhile (opening a window may move
// the table); it may not change the table itself.
std::atomic<int> handler_calls{0};
std::atomic<bool> handler_on_own_window{true};
std::atomic<bool> handler_refused{true};
int own_window = -5;

void draw_where_moved(int x, int y) {
    put_pixel(x, y, KLV_YELLOW);
    if (get_current_window() != own_window || get_color() != KLV_LIGHT_GREEN) handler_on_own_window = false;
    const bool opened = open_window(10, 10, "from a handler", 0, 0, false, false) >= 0;
    set_current_window(0);
    if (opened || take_error() != KLV_ERROR_BAD_ARGUMENT || wait_key() != -1) handler_refused = false;
    ++handler_calls;
}

TEST_F(Mouse, HandlersActOnTheirOwnWindowWhileTheCallerOpensAndClosesOthers) {
    own_window = get_current_window();
    ui::Window* handle = window();
    set_color(KLV_LIGHT_GREEN);
    set_mouse_handler(KLV_MOUSE_MOVE, draw_where_moved);
    constexpr int moves = 40;
    for (int i = 0; i < moves; ++i) {
        const int other = open_window(20, 20, "other", 0, 0, false, false);
        ASSERT_GE(other, 0);
        put_pixel(i, 8, KLV_LIGHT_RED);
        const int calls = handler_calls;
        ui::testing::mouse_move(handle, i, 7);
        // Every other time the handler runs while the other window is
        // current, else while it is being closed.
        if (i % 2 == 0) {
            ASSERT_TRUE(eventually([calls] { return handler_calls > calls; }));
        }
        close_window(other);
        set_current_window(own_window);
    }
    EXPECT_TRUE(wait_idle());
    EXPECT_EQ(handler_calls, moves);
    EXPECT_TRUE(handler_on_own_window);
    EXPECT_TRUE(handler_refused);
    for (int x = 0; x < moves; ++x) ASSERT_EQ(get_pixel(x, 7), KLV_YELLOW) << x;
}

// A reader on this thread while the window thread records a flood of events.
TEST_F(Mouse, ReadersNeverSeeATornPosition) {
    keep_mouse_events(KLV_MOUSE_MOVE, 1);
    WindowState* state = current_state();
    std::thread writer([state] {
        for (int i = 0; i < 100000; ++i) record_mouse_event(state, ui::WM_MOUSEMOVE, ui::make_lparam(i & 0x3FF, i & 0x3FF));
    });
    long taken = 0;
    int x = 0, y = 0;
    while (taken < 100000) {
        if (take_mouse_event(KLV_MOUSE_MOVE, &x, &y)) {
            ASSERT_EQ(x, y);
            ++taken;
        }
        const int mx = get_mouse_x();
        (void)mx;
    }
    writer.join();
    EXPECT_EQ(taken, 100000);
}

}  // namespace
}  // namespace klv::test

// What gives up when another thread keeps a window's pages locked beyond the
// wait: a drawing call draws nothing and returns, the window's clean-up
// leaves the pages alone. The wait is shortened here; the save command's
// test waits the full five seconds.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <optional>

#include "graphics/draw/drawing_context.h"
#include "graphics/klv.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto short_wait = 300ms;
// A call that gives up comes back within this after the wait.
constexpr auto late = 3s;

class HeldPages : public ::testing::Test {
protected:
    void SetUp() override {
        testing::set_page_lock_wait(short_wait);
        ASSERT_GE(open_window(40, 30, "held", 0, 0, false, false), 0);
        // Painted: the window thread, which paints under the lock, is free
        // to take the clean-up.
        ASSERT_TRUE(wait_idle());
        state = current_state();
    }
    void TearDown() override {
        if (held) state->mutex.unlock();
        close_window(-2);
        testing::set_page_lock_wait(std::chrono::milliseconds(page_lock_timeout_ms));
    }
    void hold() {
        state->mutex.lock();
        held = true;
    }
    void release() {
        state->mutex.unlock();
        held = false;
    }
    // Runs step on another thread; the time it took, or nothing when it had
    // not returned `late` after the wait.
    std::optional<Clock::duration> time_of(std::function<void()> step) {
        const auto start = Clock::now();
        auto running = std::async(std::launch::async, std::move(step));
        if (running.wait_for(short_wait + late) != std::future_status::ready) {
            release();  // lets a step that waits for ever finish, so the test can end
            running.wait();
            return std::nullopt;
        }
        return Clock::now() - start;
    }

    WindowState* state = nullptr;
    bool held = false;
};

TEST_F(HeldPages, DrawingCallsGiveUpAfterTheWaitAndDrawNothing) {
    hold();
    for (auto step : {std::function<void()>([] { fill_bar(0, 0, 39, 29); }),
                      std::function<void()>([] { put_pixel(5, 5, 14); }),
                      std::function<void()>([] { out_text_xy(0, 0, "held"); })}) {
        const auto took = time_of(step);
        ASSERT_TRUE(took) << "a drawing call waited for the pages for ever";
        EXPECT_GE(*took, short_wait);
    }
    release();
    const Image page = page_image(0);
    for (std::uint32_t pixel : page.pixels) ASSERT_EQ(pixel, 0u);
}

// The window procedure's clean-up gives up too, and leaves the pages for the
// window thread to free once the lock is free.
TEST_F(HeldPages, CleanUpGivesUpAndFreesNothingUnderTheHolder) {
    hold();
    ui::Window* window = current_window_handle();
    const auto took = time_of([window] { ui::send_message(window, ui::WM_DESTROY, 0, 0); });
    ASSERT_TRUE(took) << "the clean-up waited for the pages for ever";
    EXPECT_GE(*took, short_wait);
    EXPECT_FALSE(state->pages_released);
    ASSERT_NE(state->page_dc[0], nullptr);
    EXPECT_EQ(state->page_dc[0]->bitmap->row(0)[0], 0u);  // still the page's memory
    release();
    auto closing = std::async(std::launch::async, [] { close_window(-1); });
    EXPECT_EQ(closing.wait_for(late), std::future_status::ready);
}

}  // namespace
}  // namespace klv::test

// Message loop semantics: posting, sending across threads, quitting, paint
// coalescing and the end of a window's thread.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "platform/ui/testing.h"
#include "tests/platform/ui/window_thread.h"
#include "tests/support/eventually.h"

namespace klv::ui {
namespace {

using namespace std::chrono_literals;
using test::WindowThread;

constexpr std::uint32_t WM_USER_TEST = 0x0400;

TEST(MessageLoop, PostedMessagesArriveInOrderBeforeQuit) {
    post_message(nullptr, WM_USER_TEST, 1, 0);
    post_message(nullptr, WM_USER_TEST, 2, 0);
    post_quit_message(7);
    Message message;
    ASSERT_TRUE(get_message(&message));
    EXPECT_EQ(message.wparam, 1u);
    ASSERT_TRUE(get_message(&message));
    EXPECT_EQ(message.wparam, 2u);
    EXPECT_FALSE(get_message(&message));
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(message.wparam, 7u);
}

TEST(MessageLoop, SendFromAnotherThreadRunsOnTheWindowThread) {
    WindowThread w;
    w.hook = [](std::uint32_t message, std::uintptr_t wparam, std::intptr_t, std::intptr_t* result) {
        if (message != WM_USER_TEST) return false;
        *result = std::intptr_t(wparam * 2);
        return true;
    };
    EXPECT_EQ(send_message(w.window(), WM_USER_TEST, 21, 0), 42);
    auto log = w.messages();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().message, WM_USER_TEST);
    EXPECT_EQ(log.back().thread, w.thread_id());
}

TEST(MessageLoop, PostReachesTheWindowAndFailsOnceItIsGone) {
    WindowThread w;
    ASSERT_TRUE(post_message(w.window(), WM_USER_TEST, 5, 6));
    ASSERT_TRUE(w.wait_for(WM_USER_TEST));
    Window* gone = w.window();
    w.close_and_join();
    EXPECT_FALSE(post_message(gone, WM_USER_TEST, 0, 0));
    EXPECT_EQ(last_error(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST(MessageLoop, SendToAnEndedThreadOrDestroyedWindowReturnsAtOnce) {
    WindowThread w;
    Window* window = w.window();
    w.close_and_join();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(send_message(window, WM_USER_TEST, 1, 0), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
}

// As GetMessage answers sent messages before it looks at the quit, a send
// queued while the thread handles the one that quits is still answered.
TEST(MessageLoop, ASendQueuedBeforeTheQuitIsStillAnswered) {
    WindowThread w;
    std::atomic<bool> in_first{false};
    std::atomic<bool> release{false};
    w.hook = [&](std::uint32_t message, std::uintptr_t wparam, std::intptr_t, std::intptr_t* result) {
        if (message != WM_USER_TEST) return false;
        if (wparam == 1) {
            in_first = true;
            EXPECT_TRUE(klv::test::eventually([&] { return release.load(); }));
            post_quit_message(0);
        }
        *result = 90 + std::intptr_t(wparam);
        return true;
    };
    std::thread first([&] { EXPECT_EQ(send_message(w.window(), WM_USER_TEST, 1, 0), 91); });
    ASSERT_TRUE(klv::test::eventually([&] { return in_first.load(); }));
    std::atomic<std::intptr_t> second_result{-1};
    std::thread second([&] { second_result = send_message(w.window(), WM_USER_TEST, 2, 0); });
    EXPECT_TRUE(klv::test::eventually([&] { return testing::sends_waiting(w.window()) == 1; }));
    release = true;
    first.join();
    second.join();
    EXPECT_EQ(second_result, 92);
    w.close_and_join();
}

TEST(MessageLoop, ASenderWaitingForAThreadThatEndsWithoutAnsweringGetsZero) {
    std::atomic<Window*> made{nullptr};
    std::atomic<bool> end_now{false};
    std::thread owner([&] {
        register_class({"KlvTestNoLoop", 0, nullptr, -1});
        made = create_window("KlvTestNoLoop", "x", WS_CAPTION, 0, 0, 100, 100);
        EXPECT_TRUE(klv::test::eventually([&] { return end_now.load(); }));  // never runs a message loop
    });
    ASSERT_TRUE(klv::test::eventually([&] { return made.load() != nullptr; }));
    std::thread ender([&] {
        EXPECT_TRUE(klv::test::eventually([&] { return testing::sends_waiting(made) == 1; }));
        end_now = true;
    });
    EXPECT_EQ(send_message(made, WM_USER_TEST, 0, 0), 0);
    ender.join();
    owner.join();
    EXPECT_FALSE(testing::wait_until_idle(made, 10));
}

TEST(MessageLoop, TwoThreadsSendingToEachOtherDoNotDeadlock) {
    WindowThread a;
    WindowThread b;
    a.hook = [&](std::uint32_t message, std::uintptr_t, std::intptr_t, std::intptr_t* result) {
        if (message != WM_USER_TEST) return false;
        *result = 1 + send_message(b.window(), WM_USER_TEST + 1, 0, 0);
        return true;
    };
    b.hook = [&](std::uint32_t message, std::uintptr_t, std::intptr_t, std::intptr_t* result) {
        if (message == WM_USER_TEST + 1) {
            *result = 10 + send_message(a.window(), WM_USER_TEST + 2, 0, 0);
            return true;
        }
        return false;
    };
    auto a_hook = a.hook;
    a.hook = [a_hook](std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam, std::intptr_t* result) {
        if (message == WM_USER_TEST + 2) {
            *result = 100;
            return true;
        }
        return a_hook(message, wparam, lparam, result);
    };
    EXPECT_EQ(send_message(a.window(), WM_USER_TEST, 0, 0), 111);
}

TEST(MessageLoop, InvalidationsCoalesceIntoOnePaintOfTheBoundingRectangle) {
    WindowThread w;
    ASSERT_TRUE(w.settle());
    std::vector<gdi::Rect> painted;
    w.hook = [&](std::uint32_t message, std::uintptr_t, std::intptr_t, std::intptr_t*) {
        if (message == WM_USER_TEST) {
            gdi::Rect a{1, 2, 5, 6}, b{10, 20, 12, 30};
            invalidate_rect(w.window(), &a, false);
            invalidate_rect(w.window(), &b, false);
            post_message(w.window(), WM_USER_TEST + 1, 0, 0);
            return true;
        }
        if (message == WM_PAINT) {
            PaintInfo paint;
            begin_paint(w.window(), &paint);
            painted.push_back(paint.paint);
            end_paint(w.window(), &paint);
            return true;
        }
        return false;
    };
    w.clear_log();
    post_message(w.window(), WM_USER_TEST, 0, 0);
    ASSERT_TRUE(w.wait_for(WM_PAINT));
    ASSERT_TRUE(w.settle());
    // The posted message comes first: a paint waits until nothing else is queued.
    EXPECT_EQ(w.message_numbers(), (std::vector<std::uint32_t>{WM_USER_TEST, WM_USER_TEST + 1, WM_PAINT}));
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0], (gdi::Rect{1, 2, 12, 30}));
}

TEST(MessageLoop, InvalidationFromAnotherThreadWakesTheWindowAndIsClipped) {
    WindowThread w;
    ASSERT_TRUE(w.settle());
    testing::take_invalidations(w.window());
    w.clear_log();
    gdi::Rect beyond{60, 40, 500, 500};
    invalidate_rect(w.window(), &beyond, false);
    ASSERT_TRUE(w.wait_for(WM_PAINT));
    ASSERT_TRUE(w.settle());
    auto log = testing::take_invalidations(w.window());
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], beyond);  // recorded as given
}

TEST(MessageLoop, AnEmptyOrOutsideInvalidationPaintsNothing) {
    WindowThread w;
    ASSERT_TRUE(w.settle());
    w.clear_log();
    gdi::Rect outside{100, 100, 200, 200}, empty{5, 5, 5, 9};
    invalidate_rect(w.window(), &outside, false);
    invalidate_rect(w.window(), &empty, false);
    ASSERT_TRUE(w.settle());
    EXPECT_TRUE(w.message_numbers().empty());
}

TEST(MessageLoop, AnErasingInvalidationAsksForTheBackgroundFirst) {
    WindowThread w;
    ASSERT_TRUE(w.settle());
    w.clear_log();
    gdi::Rect r{0, 0, 8, 8};
    invalidate_rect(w.window(), &r, true);
    ASSERT_TRUE(w.wait_for(WM_PAINT));
    ASSERT_TRUE(w.settle());
    std::vector<std::uint32_t> seen;
    for (const auto& m : w.messages()) seen.push_back(m.message);
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{WM_PAINT, WM_ERASEBKGND}));  // BeginPaint erases
}

TEST(MessageLoop, TheEndOfTheThreadDestroysItsWindows) {
    std::atomic<Window*> made{nullptr};
    std::thread owner([&] {
        register_class({"KlvTestThreadEnd", 0, nullptr, -1});
        made = create_window("KlvTestThreadEnd", "x", WS_CAPTION, 0, 0, 100, 100);
        EXPECT_TRUE(testing::is_live(made));
    });
    owner.join();
    ASSERT_NE(made.load(), nullptr);
    EXPECT_FALSE(testing::is_live(made));
    EXPECT_EQ(send_message(made, WM_USER_TEST, 0, 0), 0);
}

TEST(MessageLoop, AnotherThreadCannotDestroyOrPaintAWindow) {
    WindowThread w;
    EXPECT_FALSE(destroy_window(w.window()));
    EXPECT_EQ(last_error(), ERROR_INVALID_WINDOW_HANDLE);
    PaintInfo paint;
    EXPECT_EQ(begin_paint(w.window(), &paint), nullptr);
    EXPECT_TRUE(testing::is_live(w.window()));
}

TEST(MessageLoop, CloseGoesThroughTheDefaultProcedureToDestroy) {
    test::WindowOptions options;
    options.close_destroys = true;
    WindowThread w(options);
    testing::request_close(w.window());
    ASSERT_TRUE(w.wait_for(WM_DESTROY));
    Window* window = w.window();
    w.close_and_join();
    EXPECT_FALSE(testing::is_live(window));
}

}  // namespace
}  // namespace klv::ui

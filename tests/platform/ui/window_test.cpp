// Window geometry, the screen image, the system menu, message boxes and the
// failures of creation.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ui/native_desktop.h"
#include "platform/ui/testing.h"
#include "tests/support/environment.h"
#include "tests/platform/ui/window_thread.h"

namespace klv::ui {
namespace {

using test::WindowThread;

TEST(WindowGeometry, TitledWindowOf640By480HasAnOuterSizeOf646By505) {
    test::WindowOptions options;
    options.client_width = 640;
    options.client_height = 480;
    options.left = 0;
    options.top = 0;
    WindowThread w(options);
    EXPECT_EQ(test::outer_width(640), 646);
    EXPECT_EQ(test::outer_height(480, true), 505);
    EXPECT_EQ(testing::outer_rect(w.window()), (gdi::Rect{0, 0, 646, 505}));
    EXPECT_EQ(testing::client_size(w.window()).cx, 640);
    EXPECT_EQ(testing::client_size(w.window()).cy, 480);
    EXPECT_EQ(testing::title(w.window()), "Test");
    EXPECT_TRUE(testing::is_visible(w.window()));
}

TEST(WindowGeometry, UntitledWindowHasNoCaption) {
    test::WindowOptions options;
    options.title = "";
    options.client_width = 640;
    options.client_height = 480;
    WindowThread w(options);
    EXPECT_EQ(testing::outer_rect(w.window()), (gdi::Rect{10, 20, 656, 506}));
    EXPECT_EQ(testing::client_size(w.window()).cy, 480);
}

TEST(WindowGeometry, HitTestsFollowTheFrameAndCaption) {
    WindowThread w;  // client 64 by 48 at outer (10, 20), titled
    const int client_left = 10 + 3, client_top = 20 + 3 + 19;
    EXPECT_EQ(send_message(w.window(), WM_NCHITTEST, 0, make_lparam(client_left, client_top)), HTCLIENT);
    EXPECT_EQ(send_message(w.window(), WM_NCHITTEST, 0, make_lparam(client_left + 5, 20 + 10)), HTCAPTION);
    EXPECT_EQ(send_message(w.window(), WM_NCHITTEST, 0, make_lparam(10, client_top + 5)), HTBORDER);
    EXPECT_EQ(send_message(w.window(), WM_NCHITTEST, 0, make_lparam(9, 20)), HTNOWHERE);
    EXPECT_EQ(send_message(w.window(), WM_NCHITTEST, 0, make_lparam(client_left + 64, client_top)), HTBORDER);
}

TEST(ScreenImage, StartsBlackAndShowsWhatPaintsDraw) {
    test::WindowOptions options;
    options.paint_color = gdi::make_color(0x12, 0x34, 0x56);
    WindowThread w(options);
    ASSERT_TRUE(w.settle());
    auto pixels = testing::screen_pixels(w.window());
    ASSERT_EQ(pixels.size(), 64u * 48u);
    EXPECT_EQ(pixels[0], 0x123456u);  // the first paint covers the whole client area
    EXPECT_EQ(pixels.back(), 0x123456u);
    EXPECT_EQ(testing::screen_pixel(w.window(), 64, 0), 0u);  // outside
}

TEST(ScreenImage, OnlyThePaintedRectangleChanges) {
    WindowThread w;
    ASSERT_TRUE(w.settle());
    w.hook = [&](std::uint32_t message, std::uintptr_t, std::intptr_t, std::intptr_t*) {
        if (message != WM_PAINT) return false;
        PaintInfo paint;
        gdi::DeviceContext* dc = begin_paint(w.window(), &paint);
        // Draw over everything: the context is clipped to the invalid rectangle.
        gdi::Brush* green = gdi::create_solid_brush(gdi::make_color(0, 255, 0));
        gdi::fill_rect(dc, {0, 0, 64, 48}, green);
        gdi::delete_object(green);
        end_paint(w.window(), &paint);
        return true;
    };
    gdi::Rect r{10, 20, 30, 40};
    invalidate_rect(w.window(), &r, false);
    ASSERT_TRUE(w.wait_for(WM_PAINT));
    ASSERT_TRUE(w.settle());
    EXPECT_EQ(testing::screen_pixel(w.window(), 10, 20), 0x00FF00u);
    EXPECT_EQ(testing::screen_pixel(w.window(), 29, 39), 0x00FF00u);
    EXPECT_EQ(testing::screen_pixel(w.window(), 30, 39), 0xFF0000u);
    EXPECT_EQ(testing::screen_pixel(w.window(), 9, 20), 0xFF0000u);
}

TEST(SystemMenu, StartsWithTheSystemsEntriesThenTheAppendedOnes) {
    WindowThread w;
    ASSERT_TRUE(append_system_menu(w.window(), MF_SEPARATOR, 0, nullptr));
    ASSERT_TRUE(append_system_menu(w.window(), MF_STRING, 4, "Save image as..."));
    EXPECT_FALSE(append_system_menu(w.window(), MF_STRING, 5, nullptr));
    auto menu = testing::system_menu(w.window());
    std::vector<testing::MenuItem> expected{{SC_RESTORE, "Restore", false}, {SC_MOVE, "Move", false},
                                            {SC_MINIMIZE, "Minimize", false}, {0, "", true},
                                            {SC_CLOSE, "Close", false},       {0, "", true},
                                            {4, "Save image as...", false}};
    EXPECT_EQ(menu, expected);
}

TEST(SystemMenu, ChoosingAnEntryPostsItsCommandAndCloseAsksToClose) {
    WindowThread w;
    ASSERT_TRUE(w.settle());
    w.clear_log();
    testing::choose_system_command(w.window(), 4);
    testing::choose_system_command(w.window(), SC_CLOSE);
    ASSERT_TRUE(w.wait_for(WM_CLOSE));
    ASSERT_TRUE(w.settle());
    auto log = w.messages();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].message, WM_SYSCOMMAND);
    EXPECT_EQ(log[0].wparam, 4u);
    EXPECT_EQ(log[1].wparam, SC_CLOSE);
    EXPECT_EQ(log[2].message, WM_CLOSE);
    EXPECT_TRUE(testing::is_live(w.window()));  // the procedure swallowed it
}

TEST(MessageBox, HeadlessBoxesAreRecordedAndAnsweredOk) {
    EXPECT_EQ(message_box(nullptr, "Something failed", "Error", MB_ICONERROR), IDOK);
    auto boxes = testing::message_boxes_shown();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), (std::pair<std::string, std::string>{"Error", "Something failed"}));
}

TEST(Classes, RegisteringTwiceAndUnknownClassesFail) {
    ASSERT_TRUE(register_class({"KlvTestTwice", 0, nullptr, -1}));
    EXPECT_FALSE(register_class({"KlvTestTwice", 0, nullptr, -1}));
    EXPECT_EQ(last_error(), ERROR_CLASS_ALREADY_EXISTS);
    EXPECT_TRUE(unregister_class("KlvTestTwice"));
    EXPECT_FALSE(unregister_class("KlvTestTwice"));
    EXPECT_EQ(create_window("KlvTestNoSuchClass", "", WS_POPUP, 0, 0, 10, 10), nullptr);
    EXPECT_EQ(last_error(), ERROR_CANNOT_FIND_WND_CLASS);
    EXPECT_EQ(error_text(ERROR_CANNOT_FIND_WND_CLASS), "Cannot find window class.");
}

// Runs on a fresh thread so that the thread has not opened a display yet.
Window* create_on_new_thread(std::uint32_t* error) {
    Window* made = nullptr;
    std::thread([&] {
        register_class({"KlvTestNoDisplay", 0, nullptr, -1});
        made = create_window("KlvTestNoDisplay", "x", WS_CAPTION, 0, 0, 100, 100);
        *error = last_error();
    }).join();
    return made;
}

TEST(Classes, WithoutADisplayCreationFailsAndSaysWhy) {
    const klv::test::SavedEnvironment backend("KLV_BACKEND"), display("DISPLAY");
    klv::test::set_environment("KLV_BACKEND", nullptr);
    klv::test::set_environment("DISPLAY", nullptr);
    std::uint32_t error = 0;
    if (std::string(native_backend_name()) == "x11") {  // Windows always has its desktop
    EXPECT_EQ(create_on_new_thread(&error), nullptr);
    EXPECT_EQ(error, ERROR_NO_DISPLAY);
    EXPECT_EQ(error_text(ERROR_NO_DISPLAY), "cannot open display: DISPLAY is not set");
    // Without a display a message box is a line on stderr, answered at once.
    const auto boxes_before = testing::message_boxes_shown().size();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(message_box(nullptr, error_text(ERROR_NO_DISPLAY), "Error", MB_ICONERROR), IDOK);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Error: cannot open display: DISPLAY is not set\n");
    EXPECT_EQ(testing::message_boxes_shown().size(), boxes_before);
    }
    klv::test::set_environment("KLV_BACKEND", "bogus");
    EXPECT_EQ(create_on_new_thread(&error), nullptr);
    EXPECT_NE(error_text(ERROR_NO_DISPLAY).find("bogus"), std::string::npos);
}

}  // namespace
}  // namespace klv::ui

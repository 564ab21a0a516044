// The system menu popup and the message box on a real X server.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/ui/testing.h"
#include "tests/platform/ui/window_thread.h"
#include "tests/support/test_needs.h"

namespace klv::ui {
namespace {

using namespace std::chrono_literals;

bool have_display() {
    const char* name = std::getenv("DISPLAY");
    return name && *name;
}

int xdotool(const std::string& arguments) {
    return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str());
}

// The id of the visible window of that name, or empty.
std::string window_named(const std::string& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        FILE* out = popen(("xdotool search --onlyvisible --name '^" + name + "$' 2>/dev/null").c_str(), "r");
        char line[64] = {};
        const bool found = out && fgets(line, sizeof line, out);
        if (out) pclose(out);
        if (found) return std::string(line, std::strcspn(line, "\n"));
        std::this_thread::sleep_for(50ms);
    }
    return {};
}

TEST(X11Dialogs, MenuKeyAndF10OpenTheSystemMenuAndItsCloseAsksToClose) {
    KLV_NEED(have_display(), "DISPLAY");
    test::WindowOptions options;
    options.title = "klv system menu";
    test::WindowThread w(options);
    const std::string id = window_named(options.title);
    ASSERT_FALSE(id.empty());
    ASSERT_EQ(xdotool("windowactivate --sync " + id), 0);
    ASSERT_TRUE(w.settle());
    w.clear_log();
    // (Alt+Space opens it too, unless the window manager keeps that key for
    // its own menu, as openbox does.)
    ASSERT_EQ(xdotool("key Menu"), 0);
    std::this_thread::sleep_for(300ms);
    ASSERT_EQ(xdotool("key Escape"), 0);
    std::this_thread::sleep_for(200ms);
    ASSERT_EQ(xdotool("key F10"), 0);
    std::this_thread::sleep_for(300ms);
    // The window procedure saw no key of the gesture, and no character.
    for (const auto& m : w.messages()) {
        EXPECT_NE(m.message, WM_CHAR);
        EXPECT_NE(m.message, WM_KEYDOWN);
    }
    ASSERT_EQ(xdotool("key --delay 50 Up Return"), 0);  // Up from nothing: the last entry, Close
    ASSERT_TRUE(w.wait_for(WM_CLOSE));
    bool saw_command = false;
    for (const auto& m : w.messages()) saw_command = saw_command || (m.message == WM_SYSCOMMAND && m.wparam == SC_CLOSE);
    EXPECT_TRUE(saw_command);
}

TEST(X11Dialogs, ShiftRightClickOpensTheSystemMenuWithTheAppendedEntries) {
    KLV_NEED(have_display(), "DISPLAY");
    test::WindowOptions options;
    options.title = "klv system menu mouse";
    test::WindowThread w(options);
    ASSERT_TRUE(append_system_menu(w.window(), MF_STRING, 4, "Save image as..."));
    const std::string id = window_named(options.title);
    ASSERT_FALSE(id.empty());
    ASSERT_EQ(xdotool("windowactivate --sync " + id), 0);
    ASSERT_TRUE(w.settle());
    w.clear_log();
    ASSERT_EQ(xdotool("mousemove --window " + id + " 5 5 keydown shift click 3 keyup shift"), 0);
    std::this_thread::sleep_for(400ms);
    ASSERT_EQ(xdotool("key --delay 50 Up Return"), 0);  // the appended entry is last
    ASSERT_TRUE(w.wait_for(WM_SYSCOMMAND));
    std::this_thread::sleep_for(100ms);
    for (const auto& m : w.messages()) {
        EXPECT_NE(m.message, WM_RBUTTONDOWN);
        EXPECT_NE(m.message, WM_RBUTTONUP);
        if (m.message == WM_SYSCOMMAND) {
            EXPECT_EQ(m.wparam, 4u);
        }
    }
}

TEST(X11Dialogs, RightClickOnTheFrameOfAnUntitledWindowOpensTheSystemMenu) {
    KLV_NEED(have_display(), "DISPLAY");
    test::WindowOptions options;
    options.title = "";
    options.left = 300;
    options.top = 300;
    test::WindowThread w(options);
    ASSERT_TRUE(w.settle());
    std::this_thread::sleep_for(300ms);
    ASSERT_EQ(testing::outer_rect(w.window()).left, 300);
    w.clear_log();
    ASSERT_EQ(xdotool("mousemove --sync 301 301 sleep 0.2 click 3"), 0);  // the frame band
    std::this_thread::sleep_for(600ms);
    ASSERT_EQ(xdotool("key --delay 50 Up Return"), 0);
    ASSERT_TRUE(w.wait_for(WM_SYSCOMMAND));
    for (const auto& m : w.messages()) {
        EXPECT_NE(m.message, WM_RBUTTONDOWN);
        if (m.message == WM_SYSCOMMAND) {
            EXPECT_EQ(m.wparam, SC_CLOSE);
        }
    }
}

TEST(X11Dialogs, MessageBoxWaitsForEnter) {
    KLV_NEED(have_display(), "DISPLAY");
    std::atomic<bool> returned{false};
    std::thread shower([&] {
        EXPECT_EQ(message_box(nullptr, "The printer is out of paper.", "klv box", MB_ICONERROR), IDOK);
        returned = true;
    });
    const std::string id = window_named("klv box");
    EXPECT_FALSE(id.empty());
    std::this_thread::sleep_for(200ms);
    EXPECT_FALSE(returned);
    if (!id.empty()) xdotool("windowactivate --sync " + id);
    xdotool("key Return");
    shower.join();
    EXPECT_TRUE(returned);
}

}  // namespace
}  // namespace klv::ui

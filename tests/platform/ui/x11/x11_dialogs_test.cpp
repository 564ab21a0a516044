// The system menu popup and the message box on a real X server. The tests
// wait on what the X server reports: the popup shown, the keyboard held by
// it and let go, the highlight it draws.
#include <gtest/gtest.h>
// After GoogleTest: Xlib defines None and Bool as macros.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/ui/testing.h"
#include "tests/platform/ui/window_thread.h"
#include "tests/platform/ui/x11/x_display_fixture.h"
#include "tests/platform/ui/x11/x_server.h"
#include "tests/support/environment.h"
#include "tests/support/eventually.h"
#include "tests/support/test_needs.h"

namespace klv::ui {
namespace {

using klv::test::eventually;
using klv::test::xdotool;

constexpr unsigned long highlight = 0x91C9F7;  // the dialogs' highlight, as the X server shows it

class X11Dialogs : public klv::test::XDisplayFixture<> {
protected:
    // Shows the window and gives it the focus (windowactivate asks the window
    // manager for it: the tests that call this need one); false when that fails.
    bool show_and_focus(test::WindowThread& w, const std::string& title) {
        const ::Window id = klv::test::wait_for_window_named(display_, title);
        return id != 0 && xdotool("windowactivate --sync " + std::to_string(id)) == 0 && w.settle();
    }
    ::Window wait_for_menu() { return klv::test::wait_for_system_menu(display_); }
    bool wait_until_menu_closed() {
        return eventually([&] { return !klv::test::keyboard_grabbed(display_); });
    }
    // The rows [top, bottom) of the highlighted entry, as the X server shows it.
    std::pair<int, int> highlighted_rows(::Window popup) {
        XWindowAttributes a;
        XGetWindowAttributes(display_, popup, &a);
        XImage* image = XGetImage(display_, popup, 0, 0, unsigned(a.width), unsigned(a.height), AllPlanes, ZPixmap);
        int top = -1, bottom = -1;
        for (int y = 0; image && y < a.height; ++y) {
            if ((XGetPixel(image, 4, y) & 0xFFFFFF) != highlight) continue;
            if (top < 0) top = y;
            bottom = y + 1;
        }
        if (image) XDestroyImage(image);
        return {top, bottom};
    }
};

// Closes a menu that a failed step left open, before the window goes: its
// thread would not take the window's destruction while the menu runs.
struct MenuCloser {
    Display* display;
    ~MenuCloser() {
        if (klv::test::keyboard_grabbed(display)) klv::test::xdotool("key Escape");
    }
};

// The window's hook takes the commands the menu sends, so that Move and
// Minimize do nothing; each is logged all the same.
void take_system_commands(test::WindowThread& w) {
    w.hook = [](std::uint32_t message, std::uintptr_t, std::intptr_t, std::intptr_t* result) {
        *result = 0;
        return message == WM_SYSCOMMAND;
    };
}

std::vector<std::uintptr_t> commands_of(const test::WindowThread& w) {
    std::vector<std::uintptr_t> commands;
    for (const auto& m : w.messages())
        if (m.message == WM_SYSCOMMAND) commands.push_back(m.wparam);
    return commands;
}

// Entries: Restore (greyed), Move, Minimize, a line, Close, then the one the
// program appended.
TEST_F(X11Dialogs, SystemMenuEntriesAreChosenWithArrowsEnterEscapeAndClicks) {
    KLV_NEED_WINDOW_MANAGER(display_);
    test::WindowOptions options;
    options.title = "klv menu entries";
    test::WindowThread w(options);
    MenuCloser closer{display_};
    take_system_commands(w);
    ASSERT_TRUE(append_system_menu(w.window(), MF_STRING, 4, "Save image as..."));
    ASSERT_TRUE(show_and_focus(w, options.title));
    const struct {
        const char* keys;
        std::uintptr_t command;
    } by_keys[] = {
        {"Down Return", SC_MOVE},         {"Down Down Return", SC_MINIMIZE},
        {"Down Down Down Return", SC_CLOSE},  // over the line
        {"Up Return", 4},                 {"Up Up Up Return", SC_MINIMIZE},
        {"Down Up Return", 4},            // round past Restore, which cannot be chosen
        {"KP_Down KP_Down space", SC_MINIMIZE},
    };
    for (const auto& c : by_keys) {
        SCOPED_TRACE(c.keys);
        w.clear_log();
        ASSERT_EQ(xdotool("key F10"), 0);
        ASSERT_NE(wait_for_menu(), 0u);
        ASSERT_EQ(xdotool(std::string("key --delay 20 ") + c.keys), 0);
        ASSERT_TRUE(w.wait_for(WM_SYSCOMMAND));
        ASSERT_TRUE(wait_until_menu_closed());
        EXPECT_EQ(commands_of(w), std::vector<std::uintptr_t>{c.command});
    }
    // Escape closes it with no command; the window saw none of the keys.
    w.clear_log();
    ASSERT_EQ(xdotool("key F10"), 0);
    ASSERT_NE(wait_for_menu(), 0u);
    ASSERT_EQ(xdotool("key --delay 20 Down Escape"), 0);
    ASSERT_TRUE(wait_until_menu_closed());
    ASSERT_TRUE(w.settle());
    for (const auto& m : w.messages()) {
        EXPECT_NE(m.message, WM_SYSCOMMAND);
        EXPECT_NE(m.message, WM_KEYDOWN);
    }
    // A click on each entry, where Down showed it highlighted.
    const std::uintptr_t entries[] = {SC_MOVE, SC_MINIMIZE, SC_CLOSE, 4};
    for (std::size_t n = 0; n < std::size(entries); ++n) {
        SCOPED_TRACE(n);
        w.clear_log();
        ASSERT_EQ(xdotool("key F10"), 0);
        const ::Window popup = wait_for_menu();
        ASSERT_NE(popup, 0u);
        std::pair<int, int> rows{-1, -1}, before{-1, -1};
        for (std::size_t down = 0; down <= n; ++down) {
            ASSERT_EQ(xdotool("key Down"), 0);
            ASSERT_TRUE(eventually([&] { return (rows = highlighted_rows(popup)) != before && rows.first >= 0; }));
            before = rows;
        }
        const int middle = (rows.first + rows.second) / 2;
        ASSERT_EQ(xdotool("mousemove --window " + std::to_string(popup) + " 30 " + std::to_string(middle) +
                          " click 1"),
                  0);
        ASSERT_TRUE(w.wait_for(WM_SYSCOMMAND));
        ASSERT_TRUE(wait_until_menu_closed());
        EXPECT_EQ(commands_of(w), std::vector<std::uintptr_t>{entries[n]});
    }
}

TEST_F(X11Dialogs, MenuKeyAndF10OpenTheSystemMenuAndItsCloseAsksToClose) {
    KLV_NEED_WINDOW_MANAGER(display_);
    test::WindowOptions options;
    options.title = "klv system menu";
    test::WindowThread w(options);
    MenuCloser closer{display_};
    ASSERT_TRUE(show_and_focus(w, options.title));
    w.clear_log();
    // (Alt+Space opens it too, unless the window manager keeps that key for
    // its own menu, as openbox does.)
    ASSERT_EQ(xdotool("key Menu"), 0);
    ASSERT_NE(wait_for_menu(), 0u);
    ASSERT_EQ(xdotool("key Escape"), 0);
    ASSERT_TRUE(wait_until_menu_closed());
    ASSERT_EQ(xdotool("key F10"), 0);
    ASSERT_NE(wait_for_menu(), 0u);
    ASSERT_EQ(xdotool("key --delay 20 Up Return"), 0);  // Up from nothing: the last entry, Close
    ASSERT_TRUE(w.wait_for(WM_CLOSE));
    // The window procedure saw no key of the gestures, and no character.
    bool saw_command = false;
    for (const auto& m : w.messages()) {
        EXPECT_NE(m.message, WM_CHAR);
        EXPECT_NE(m.message, WM_KEYDOWN);
        saw_command = saw_command || (m.message == WM_SYSCOMMAND && m.wparam == SC_CLOSE);
    }
    EXPECT_TRUE(saw_command);
}

TEST_F(X11Dialogs, ShiftRightClickOpensTheSystemMenuWithTheAppendedEntries) {
    KLV_NEED_WINDOW_MANAGER(display_);
    test::WindowOptions options;
    options.title = "klv system menu mouse";
    test::WindowThread w(options);
    MenuCloser closer{display_};
    take_system_commands(w);
    ASSERT_TRUE(append_system_menu(w.window(), MF_STRING, 4, "Save image as..."));
    ASSERT_TRUE(show_and_focus(w, options.title));
    const ::Window id = klv::test::wait_for_window_named(display_, options.title);
    w.clear_log();
    ASSERT_EQ(xdotool("mousemove --window " + std::to_string(id) + " 5 5 keydown shift click 3 keyup shift"), 0);
    ASSERT_NE(wait_for_menu(), 0u);
    ASSERT_EQ(xdotool("key --delay 20 Up Return"), 0);  // the appended entry is last
    ASSERT_TRUE(w.wait_for(WM_SYSCOMMAND));
    ASSERT_TRUE(w.settle());
    for (const auto& m : w.messages()) {
        EXPECT_NE(m.message, WM_RBUTTONDOWN);
        EXPECT_NE(m.message, WM_RBUTTONUP);
    }
    EXPECT_EQ(commands_of(w), std::vector<std::uintptr_t>{4});
}

TEST_F(X11Dialogs, RightClickOnTheFrameOfAnUntitledWindowOpensTheSystemMenu) {
    test::WindowOptions options;
    options.title = "";
    options.left = 300;
    options.top = 300;
    test::WindowThread w(options);
    MenuCloser closer{display_};
    take_system_commands(w);
    ASSERT_TRUE(w.settle());
    // Until the X server shows it there, taken on by the window manager if one runs.
    const bool manager = klv::test::window_manager_running(display_);
    ASSERT_TRUE(eventually([&] {
        const ::Window shown = klv::test::window_of_this_process();
        ::Window child;
        int x = -1, y = -1;
        return shown != 0 && (!manager || klv::test::managed(display_, shown)) &&
               XTranslateCoordinates(display_, shown, DefaultRootWindow(display_), 0, 0, &x, &y, &child) &&
               x == 300 && y == 300;
    }));
    w.clear_log();
    ASSERT_EQ(xdotool("mousemove --sync 301 301 click 3"), 0);  // the frame band
    ASSERT_NE(wait_for_menu(), 0u);
    ASSERT_EQ(xdotool("key --delay 20 Up Return"), 0);
    ASSERT_TRUE(w.wait_for(WM_SYSCOMMAND));
    for (const auto& m : w.messages()) EXPECT_NE(m.message, WM_RBUTTONDOWN);
    EXPECT_EQ(commands_of(w), std::vector<std::uintptr_t>{SC_CLOSE});
}

// Both read the desktop's scale as they open: at 2 their text is twice as
// tall, and so are they.
TEST_F(X11Dialogs, SystemMenuAndMessageBoxGrowWithTheDesktopScale) {
    KLV_NEED_WINDOW_MANAGER(display_);
    klv::test::SavedEnvironment restore("KLV_SCALE");
    klv::test::set_environment("KLV_SCALE", "1");
    test::WindowOptions options;
    options.title = "klv menu scale";
    test::WindowThread w(options);
    MenuCloser closer{display_};
    ASSERT_TRUE(show_and_focus(w, options.title));
    XWindowAttributes menu[2], box[2];
    for (int scale = 1; scale <= 2; ++scale) {
        SCOPED_TRACE(scale);
        const std::string digit = std::to_string(scale), title = "klv box at " + digit;
        klv::test::set_environment("KLV_SCALE", digit.c_str());
        ASSERT_EQ(xdotool("key F10"), 0);
        const ::Window popup = wait_for_menu();
        ASSERT_NE(popup, 0u);
        XGetWindowAttributes(display_, popup, &menu[scale - 1]);
        ASSERT_EQ(xdotool("key Escape"), 0);
        ASSERT_TRUE(wait_until_menu_closed());
        auto returned = std::make_shared<std::atomic<bool>>(false);  // outlives the test if the box hangs
        std::thread shower([returned, title] {
            message_box(nullptr, "The printer is out of paper.", title.c_str(), MB_ICONERROR);
            *returned = true;
        });
        const ::Window id = klv::test::wait_for_window_named(display_, title);
        if (id != 0) {
            XGetWindowAttributes(display_, id, &box[scale - 1]);
            xdotool("windowactivate --sync " + std::to_string(id) + " key Return");
        }
        if (!eventually([&] { return returned->load(); })) shower.detach();
        else shower.join();
        ASSERT_NE(id, 0u);
        ASSERT_TRUE(returned->load());
    }
    // Twice the size, give or take the pixel by which each line of the larger
    // font falls short of twice the smaller's; an unscaled font is dozens short.
    EXPECT_NEAR(menu[1].width, 2 * menu[0].width, 8);
    EXPECT_NEAR(menu[1].height, 2 * menu[0].height, 8);
    EXPECT_NEAR(box[1].width, 2 * box[0].width, 8);
    EXPECT_NEAR(box[1].height, 2 * box[0].height, 8);
}

TEST_F(X11Dialogs, MessageBoxWaitsForEnter) {
    KLV_NEED_WINDOW_MANAGER(display_);
    auto returned = std::make_shared<std::atomic<bool>>(false);  // outlives the test if the box hangs
    std::thread shower([returned] {
        EXPECT_EQ(message_box(nullptr, "The printer is out of paper.", "klv box", MB_ICONERROR), IDOK);
        *returned = true;
    });
    const ::Window id = klv::test::wait_for_window_named(display_, "klv box");
    EXPECT_NE(id, 0u);
    EXPECT_FALSE(*returned);  // shown, and waiting
    if (id != 0) xdotool("windowactivate --sync " + std::to_string(id));
    xdotool("key Return");
    if (!eventually([&] { return returned->load(); })) {
        shower.detach();  // still waiting: left behind so that the test ends
        FAIL() << "the message box did not end on Enter";
    }
    shower.join();
}

}  // namespace
}  // namespace klv::ui

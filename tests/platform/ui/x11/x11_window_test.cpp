// The X11 backend on a real X server (the test script runs Xvfb with a
// window manager): size and place, the close box, keys and the mouse as
// xdotool types and clicks them.
#include <gtest/gtest.h>
// After GoogleTest: Xlib defines None and Bool as macros.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/ui/testing.h"
#include "tests/platform/ui/window_thread.h"
#include "tests/platform/ui/x11/x_display_fixture.h"
#include "tests/platform/ui/x11/x_server.h"
#include "tests/support/eventually.h"
#include "tests/support/test_needs.h"

namespace klv::ui {
namespace {

using klv::test::eventually;

class X11Test : public klv::test::XDisplayFixture<> {
protected:
    // Our X window of that title, once it is shown.
    ::Window find(const std::string& title) { return klv::test::wait_for_window_named(display_, title); }

    gdi::Rect root_rect(::Window w) {
        ::Window root, child;
        int x, y, rx, ry;
        unsigned width, height, border, depth;
        XGetGeometry(display_, w, &root, &x, &y, &width, &height, &border, &depth);
        XTranslateCoordinates(display_, w, root, 0, 0, &rx, &ry, &child);
        return {rx, ry, rx + int(width), ry + int(height)};
    }

    // left, right, top, bottom of the window manager's frame.
    std::vector<long> frame_extents(::Window w) {
        Atom type;
        int format;
        unsigned long count = 0, after;
        unsigned char* data = nullptr;
        std::vector<long> extents{0, 0, 0, 0};
        Atom atom = XInternAtom(display_, "_NET_FRAME_EXTENTS", False);
        if (XGetWindowProperty(display_, w, atom, 0, 4, False, XA_CARDINAL, &type, &format, &count, &after, &data) ==
                Success &&
            count == 4) {
            for (int i = 0; i < 4; ++i) extents[std::size_t(i)] = reinterpret_cast<long*>(data)[i];
        }
        if (data) XFree(data);
        return extents;
    }

    // _NET_WM_PID and WM_CLIENT_MACHINE name this process on this machine.
    void expect_owned_by_this_process(::Window w) {
        Atom type;
        int format;
        unsigned long count = 0, after;
        unsigned char* data = nullptr;
        Atom atom = XInternAtom(display_, "_NET_WM_PID", False);
        ASSERT_EQ(XGetWindowProperty(display_, w, atom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data),
                  Success);
        ASSERT_EQ(count, 1u);
        EXPECT_EQ(*reinterpret_cast<long*>(data), long(getpid()));
        XFree(data);
        XTextProperty machine{};
        ASSERT_TRUE(XGetWMClientMachine(display_, w, &machine));
        char host[256] = {};
        gethostname(host, sizeof host - 1);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(machine.value), machine.nitems), host);
        XFree(machine.value);
    }

    static void xdotool(const std::string& arguments) { ASSERT_EQ(klv::test::xdotool(arguments), 0) << arguments; }

    unsigned long pixel(::Window w, int x, int y) { return klv::test::pixel_of(display_, w, x, y); }
};

TEST_F(X11Test, TitledWindowHasTheClientSizeAndItsFrameAtThePlaceAsked) {
    KLV_NEED_WINDOW_MANAGER(display_);  // the frame is the window manager's
    test::WindowOptions options;
    options.title = "klv geometry titled";
    options.client_width = 640;
    options.client_height = 480;
    options.left = 100;
    options.top = 80;
    test::WindowThread w(options);
    ASSERT_NE(w.window(), nullptr);
    ::Window id = find(options.title);
    ASSERT_NE(id, 0u);
    // Once the window manager has framed it and placed the frame.
    gdi::Rect client;
    std::vector<long> extents;
    EXPECT_TRUE(eventually([&] {
        client = root_rect(id);
        extents = frame_extents(id);
        return extents[2] > 0 && client.left - extents[0] == 100 && client.top - extents[2] == 80;
    }));
    EXPECT_EQ(client.right - client.left, 640);
    EXPECT_EQ(client.bottom - client.top, 480);
    EXPECT_EQ(client.left - extents[0], 100);
    EXPECT_EQ(client.top - extents[2], 80);
    // The outer rectangle the library sees keeps its own frame arithmetic.
    const gdi::Rect outer = testing::outer_rect(w.window());
    EXPECT_EQ(outer.right - outer.left, 646);
    EXPECT_EQ(outer.bottom - outer.top, 505);
    EXPECT_EQ(outer.left, client.left - 3);
    EXPECT_EQ(outer.top, client.top - 22);
    expect_owned_by_this_process(id);
}

TEST_F(X11Test, UntitledWindowIsItsOwnFrame) {
    test::WindowOptions options;
    options.title = "";
    options.client_width = 640;
    options.client_height = 480;
    options.left = 50;
    options.top = 40;
    test::WindowThread w(options);
    ASSERT_NE(w.window(), nullptr);
    // It has no title to search by: find the X window by its place.
    ASSERT_TRUE(w.settle());
    EXPECT_TRUE(eventually([&] { return testing::outer_rect(w.window()) == gdi::Rect{50, 40, 696, 526}; }))
        << testing::outer_rect(w.window()).left << "," << testing::outer_rect(w.window()).top;
    EXPECT_EQ(testing::client_size(w.window()).cx, 640);
}

TEST_F(X11Test, UntitledWindowIsDraggedByItsFrameWhenTheProcedureSaysCaption) {
    KLV_NEED_WINDOW_MANAGER(display_);  // it moves the window
    test::WindowOptions options;
    options.title = "";
    options.left = 200;
    options.top = 150;
    test::WindowThread w(options);
    w.hook = [&](std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam, std::intptr_t* result) {
        if (message != WM_NCHITTEST) return false;
        *result = default_procedure(w.window(), message, wparam, lparam);
        if (*result != HTCLIENT) *result = HTCAPTION;
        return true;
    };
    ASSERT_TRUE(w.settle());
    ASSERT_TRUE(eventually([&] { return testing::outer_rect(w.window()).left == 200; }));
    ::Window id = 0;
    ASSERT_TRUE(eventually([&] { return klv::test::managed(display_, id = klv::test::window_of_this_process()); }));
    // The window manager takes the drag over: from the press on it holds the
    // pointer, which the X server tells us as the pointer leaving the window.
    XSelectInput(display_, id, LeaveWindowMask);
    XSync(display_, False);
    xdotool("mousemove --sync 201 151 mousedown 1");
    const bool taken = eventually([&] { return klv::test::pointer_taken_from(display_, id); });
    if (!taken) xdotool("mouseup 1");
    ASSERT_TRUE(taken) << "the window manager did not take the drag";
    xdotool("mousemove 231 171 mousemove --sync 251 191 mouseup 1");
    // The X server shows it moved, then the library knows.
    gdi::Rect shown;
    EXPECT_TRUE(eventually([&] {
        shown = root_rect(id);
        return shown.left == 250 && shown.top == 190;
    })) << shown.left << "," << shown.top;
    EXPECT_TRUE(eventually([&] { return testing::outer_rect(w.window()).left == 250; }))
        << testing::outer_rect(w.window()).left;
    ASSERT_TRUE(w.settle());
    EXPECT_EQ(testing::outer_rect(w.window()).top, 190);
    for (const auto& m : w.messages()) {
        EXPECT_NE(m.message, WM_LBUTTONDOWN);
    }
}

TEST_F(X11Test, CloseBoxArrivesAsWmClose) {
    test::WindowOptions options;
    options.title = "klv close box";
    test::WindowThread w(options);
    ::Window id = find(options.title);
    ASSERT_NE(id, 0u);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = id;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, id, False, NoEventMask, &event);
    XFlush(display_);
    EXPECT_TRUE(w.wait_for(WM_CLOSE));
}

int ups(const test::WindowThread& w) {
    int count = 0;
    for (const auto& m : w.messages()) count += m.message == WM_LBUTTONUP;
    return count;
}

std::vector<std::pair<std::uint32_t, std::uintptr_t>> keys_of(const test::WindowThread& w) {
    std::vector<std::pair<std::uint32_t, std::uintptr_t>> keys;
    for (const auto& m : w.messages()) {
        if (m.message == WM_KEYDOWN || m.message == WM_CHAR) keys.emplace_back(m.message, m.wparam);
    }
    return keys;
}

// Binds keysyms the keyboard map lacks to spare key codes while it lives.
// Without them xdotool binds a spare code for each such key itself and takes
// it back as soon as the key is up: a program that looks the key up a little
// late finds nothing there, and the character is lost.
class SpareKeys {
public:
    SpareKeys(Display* display, std::vector<KeySym> wanted) : display_(display) {
        int first = 0, last = 0, per_code = 0;
        XDisplayKeycodes(display, &first, &last);
        KeySym* map = XGetKeyboardMapping(display, KeyCode(first), last - first + 1, &per_code);
        for (int code = last; code >= first && map && !wanted.empty(); --code) {
            const KeySym* bound = map + std::ptrdiff_t(code - first) * per_code;
            if (std::any_of(bound, bound + per_code, [](KeySym k) { return k != NoSymbol; })) continue;
            KeySym both_levels[2] = {wanted.back(), wanted.back()};
            XChangeKeyboardMapping(display, code, 2, both_levels, 1);
            codes_.push_back(code);
            wanted.pop_back();
        }
        if (map) XFree(map);
        XSync(display, False);
    }
    ~SpareKeys() {
        KeySym none[2] = {NoSymbol, NoSymbol};
        for (int code : codes_) XChangeKeyboardMapping(display_, code, 2, none, 1);
        XSync(display_, False);
    }
    SpareKeys(const SpareKeys&) = delete;
    SpareKeys& operator=(const SpareKeys&) = delete;

private:
    Display* display_;
    std::vector<int> codes_;
};

TEST_F(X11Test, KeysArriveWithVirtualKeysAndCharacters) {
    KLV_NEED_WINDOW_MANAGER(display_);  // windowactivate asks it for the focus
    test::WindowOptions options;
    options.title = "klv keys";
    test::WindowThread w(options);
    ::Window id = find(options.title);
    ASSERT_NE(id, 0u);
    xdotool("windowactivate --sync " + std::to_string(id));
    ASSERT_TRUE(w.settle());
    w.clear_log();
    const SpareKeys spare(display_, {XK_eacute, XK_EuroSign});
    xdotool("key --delay 20 a shift+b Up F1 Return BackSpace KP_Begin eacute EuroSign");
    // Up to the last character, the euro sign.
    ASSERT_TRUE(eventually([&] {
        const auto keys = keys_of(w);
        return !keys.empty() && keys.back() == std::pair<std::uint32_t, std::uintptr_t>{WM_CHAR, 0x80};
    }));
    std::vector<std::pair<std::uint32_t, std::uintptr_t>> expected{
        {WM_KEYDOWN, 'A'},       {WM_CHAR, 'a'},       {WM_KEYDOWN, 'B'},         {WM_CHAR, 'B'},
        {WM_KEYDOWN, VK_UP},     {WM_KEYDOWN, VK_F1},  {WM_KEYDOWN, VK_RETURN},   {WM_CHAR, 13},
        {WM_KEYDOWN, VK_BACK},   {WM_CHAR, 8},         {WM_KEYDOWN, VK_CLEAR},
    };
    auto keys = keys_of(w);
    // Drop the Shift key's own key down; xdotool may also map the accented
    // keys on a spare key code, so they are checked by their characters.
    std::erase_if(keys, [](const auto& k) { return k.first == WM_KEYDOWN && k.second == VK_SHIFT; });
    ASSERT_GE(keys.size(), expected.size());
    EXPECT_EQ(std::vector(keys.begin(), keys.begin() + std::ptrdiff_t(expected.size())), expected);
    std::vector<std::uintptr_t> chars;
    for (std::size_t i = expected.size(); i < keys.size(); ++i) {
        if (keys[i].first == WM_CHAR) chars.push_back(keys[i].second);
    }
    EXPECT_EQ(chars, (std::vector<std::uintptr_t>{0xE9, 0x80}));
    for (const auto& m : w.messages()) {
        if (m.message == WM_KEYDOWN && m.wparam == VK_UP) {
            EXPECT_EQ(m.lparam, 0x01480001);
        }
    }
}

TEST_F(X11Test, MouseClicksArriveWithClientPositionsAndDoubleClicks) {
    KLV_NEED_WINDOW_MANAGER(display_);
    test::WindowOptions options;
    options.title = "klv mouse";
    test::WindowThread w(options);
    ::Window id = find(options.title);
    ASSERT_NE(id, 0u);
    xdotool("windowactivate --sync " + std::to_string(id));
    ASSERT_TRUE(w.settle());
    w.clear_log();
    xdotool("mousemove --window " + std::to_string(id) + " 10 20 click --repeat 2 --delay 100 1");
    ASSERT_TRUE(w.wait_for(WM_LBUTTONDBLCLK));
    ASSERT_TRUE(eventually([&] { return ups(w) == 2; }));
    std::vector<std::uint32_t> buttons;
    for (const auto& m : w.messages()) {
        if (m.message == WM_MOUSEMOVE) {
            EXPECT_EQ(m.lparam, make_lparam(10, 20));
        }
        if (m.message > WM_MOUSEMOVE && m.message <= WM_MBUTTONDBLCLK) {
            buttons.push_back(m.message);
            EXPECT_EQ(m.lparam, make_lparam(10, 20));
        }
    }
    EXPECT_EQ(buttons, (std::vector<std::uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
}

TEST_F(X11Test, PaintReachesTheScreen) {
    test::WindowOptions options;
    options.title = "klv paint";
    options.paint_color = gdi::make_color(0, 0x80, 0xFF);
    test::WindowThread w(options);
    ::Window id = find(options.title);
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(w.settle());
    EXPECT_TRUE(eventually([&] { return pixel(id, 0, 0) == 0x0080FF && pixel(id, 63, 47) == 0x0080FF; }));
}

// At scale 2 the X window is twice the client size, the paint fills it, and
// both screen pixels of a block click the same client pixel.
TEST_F(X11Test, ScaledWindowShowsBlocksAndClicksArriveInClientPixels) {
    KLV_NEED_WINDOW_MANAGER(display_);
    test::WindowOptions options;
    options.title = "klv scaled";
    test::WindowThread w(options);
    ::Window id = find(options.title);
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(set_window_scale(w.window(), 2));
    EXPECT_EQ(testing::client_size(w.window()).cx, 64);
    gdi::Rect rect;
    EXPECT_TRUE(eventually([&] {
        rect = root_rect(id);
        return rect.right - rect.left == 128;
    }));
    EXPECT_EQ(rect.bottom - rect.top, 96);
    xdotool("windowactivate --sync " + std::to_string(id));
    ASSERT_TRUE(w.settle());
    EXPECT_TRUE(eventually([&] { return pixel(id, 127, 95) == 0xFF0000; }));

    w.clear_log();
    xdotool("mousemove --window " + std::to_string(id) + " 20 40 click 1");
    // The pause outlasts the double-click time: a second single click.
    xdotool("mousemove --window " + std::to_string(id) + " 21 41 sleep 0.6 click 1");
    EXPECT_TRUE(eventually([&] { return ups(w) == 2; }));
    std::vector<std::intptr_t> downs;
    for (const auto& m : w.messages())
        if (m.message == WM_LBUTTONDOWN || m.message == WM_LBUTTONDBLCLK) downs.push_back(m.lparam);
    EXPECT_EQ(downs, (std::vector<std::intptr_t>{make_lparam(10, 20), make_lparam(10, 20)}));
}

}  // namespace
}  // namespace klv::ui

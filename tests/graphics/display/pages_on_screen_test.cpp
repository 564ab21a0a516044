// Pages, refresh control, several windows and titles on a real X server
// (the test script runs Xvfb with a window manager): what the server shows,
// read back with XGetImage on a connection of the test's own.
#include <gtest/gtest.h>
// After GoogleTest: Xlib defines None and Bool as macros.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "graphics/klv.h"
#include "platform/ui/testing.h"
#include "tests/support/eventually.h"
#include "tests/support/library_window.h"
#include "tests/platform/ui/x11/x_server.h"
#include "tests/support/test_needs.h"

namespace klv::test {
namespace {

using namespace std::chrono_literals;

int ignore_errors(Display*, XErrorEvent*) { return 0; }

// A connection to the server of the test's own.
class Screen {
public:
    Screen() : display_(XOpenDisplay(nullptr)) { XSetErrorHandler(ignore_errors); }
    ~Screen() {
        if (display_) XCloseDisplay(display_);
    }
    bool open() const { return display_ != nullptr; }
    Display* display() const { return display_; }

    // The mapped X window of that title (our client area), waited for.
    ::Window find(const std::string& title) {
        ::Window found = 0;
        klv::test::eventually([&] {
            ::Window w = search(DefaultRootWindow(display_), title);
            XWindowAttributes attributes;
            found = w && XGetWindowAttributes(display_, w, &attributes) && attributes.map_state == IsViewable ? w : 0;
            return found != 0;
        });
        return found;
    }

    // What the server shows of the window, as 0x00RRGGBB pixels.
    std::vector<std::uint32_t> pixels(::Window w, int width, int height) {
        std::vector<std::uint32_t> out;
        XImage* image = XGetImage(display_, w, 0, 0, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
        if (!image) return out;
        out.reserve(std::size_t(width) * std::size_t(height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) out.push_back(std::uint32_t(XGetPixel(image, x, y)) & 0xFFFFFFu);
        XDestroyImage(image);
        return out;
    }

    std::string property(::Window w, const char* name) {
        Atom type;
        int format;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::string value;
        if (XGetWindowProperty(display_, w, XInternAtom(display_, name, False), 0, 1024, False, AnyPropertyType, &type,
                               &format, &count, &after, &data) == Success &&
            data)
            value.assign(reinterpret_cast<char*>(data), count);
        if (data) XFree(data);
        return value;
    }

    // WM_NAME, whatever its encoding, as UTF-8.
    std::string name(::Window w) {
        XTextProperty property{};
        std::string value;
        if (!XGetWMName(display_, w, &property)) return value;
        char** list = nullptr;
        int count = 0;
        if (Xutf8TextPropertyToTextList(display_, &property, &list, &count) >= Success && count > 0) value = list[0];
        if (list) XFreeStringList(list);
        XFree(property.value);
        return value;
    }

private:
    ::Window search(::Window parent, const std::string& title) {
        char* name = nullptr;
        if (XFetchName(display_, parent, &name) && name) {
            const bool match = title == name;
            XFree(name);
            if (match) return parent;
        }
        ::Window root, up, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display_, parent, &root, &up, &children, &count)) return 0;
        ::Window found = 0;
        for (unsigned i = 0; i < count && !found; ++i) found = search(children[i], title);
        if (children) XFree(children);
        return found;
    }

    Display* display_;
};

class PagesOnScreen : public ::testing::Test {
protected:
    void SetUp() override {
        KLV_NEED(std::getenv("DISPLAY"), "DISPLAY");
        KLV_NEED(screen.open(), "the display " << std::getenv("DISPLAY"));
    }
    void TearDown() override { close_window(-2); }

    template <class Condition>
    static bool eventually(Condition condition) { return klv::test::eventually(condition); }
    // Whether the server comes to show the window's visual page.
    bool shows_visual_page(::Window id, int width, int height) {
        return eventually([&] { return screen.pixels(id, width, height) == page_image(get_visual_page()).pixels; });
    }

    Screen screen;
};

constexpr int width = 160, height = 120;

// Every frame is drawn strip by strip on the hidden page in a colour of its
// own, then shown with swap_pages. Screenshots taken all along must each be
// one colour: a half-drawn frame would show strips of two.
TEST_F(PagesOnScreen, DoubleBufferingShowsOnlyWholeFrames) {
    ASSERT_GE(open_window(width, height, "klv double buffering", 40, 40, true, false), 0);
    const ::Window id = screen.find("klv double buffering");
    ASSERT_NE(id, 0u);
    std::atomic<bool> drawing{true};
    std::vector<std::vector<std::uint32_t>> shots;
    std::thread camera([&] {
        Screen own;
        while (drawing) shots.push_back(own.pixels(id, width, height));
    });
    constexpr int frames = 24, strips = 12;
    for (int frame = 1; frame <= frames; ++frame) {
        set_fill_style(1, 0x010000 * (frame * 10) + 0x000100 * (255 - frame * 10) + 0x40);
        for (int strip = 0; strip < strips; ++strip) {
            fill_bar(0, strip * height / strips, width, (strip + 1) * height / strips);
            wait_ms(1);
        }
        swap_pages();
        wait_ms(8);
    }
    wait_idle();
    drawing = false;
    camera.join();
    std::set<std::uint32_t> frames_seen;
    int torn = 0;
    for (const auto& shot : shots) {
        if (shot.empty()) continue;
        if (std::set<std::uint32_t>(shot.begin(), shot.end()).size() != 1) ++torn;
        frames_seen.insert(shot[0]);
    }
    EXPECT_EQ(torn, 0) << "of " << shots.size() << " screenshots";
    EXPECT_GE(frames_seen.size(), 5u) << "the screenshots should have caught several frames";
    EXPECT_TRUE(shows_visual_page(id, width, height));
}

TEST_F(PagesOnScreen, WithAutoRefreshOffNothingIsShownUntilRedrawn) {
    ASSERT_GE(open_window(width, height, "klv auto refresh", 40, 40, false, false), 0);
    const ::Window id = screen.find("klv auto refresh");
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(shows_visual_page(id, width, height));
    // The window manager's late work on a new window (framing it) exposes it,
    // and an exposed window shows its page as it is, hidden drawing and all.
    ASSERT_TRUE(window_manager_caught_up(screen.display()));
    ASSERT_TRUE(wait_idle());
    const auto before = screen.pixels(id, width, height);
    set_auto_refresh(0);
    set_fill_style(1, KLV_DARK_RED);
    fill_bar(10, 10, 150, 110);
    set_color(KLV_YELLOW);
    draw_line(0, 0, 159, 119);
    out_text_xy(20, 20, "hidden");
    wait_idle();
    EXPECT_EQ(screen.pixels(id, width, height), before);
    redraw_window();
    EXPECT_TRUE(shows_visual_page(id, width, height));
}

// Two windows drawn in turn from this thread: each shows only its own shapes.
TEST_F(PagesOnScreen, TwoWindowsDrawnAlternatelyShowTheirOwnPictures) {
    const int left = open_window(width, height, "klv left", 40, 40, false, false);
    const int right = open_window(width, height, "klv right", 260, 40, false, false);
    ASSERT_GE(left, 0);
    ASSERT_GE(right, 0);
    for (int i = 0; i < 6; ++i) {
        set_current_window(left);
        set_fill_style(1, KLV_DARK_RED);
        fill_bar(10 + 24 * i, 10, 28 + 24 * i, 60);
        set_current_window(right);
        set_fill_style(8, KLV_LIGHT_GREEN);
        draw_pie_slice(80, 60, 60 * i, 60 * i + 40, 50);
    }
    for (int window : {left, right}) {
        set_current_window(window);
        const ::Window id = screen.find(window == left ? "klv left" : "klv right");
        ASSERT_NE(id, 0u);
        EXPECT_TRUE(shows_visual_page(id, width, height)) << "window " << window;
    }
    set_current_window(left);
    EXPECT_EQ(page_image(0).pixels[20 * width + 12], 0x800000u);
    EXPECT_EQ(page_image(0).pixels[60 * width + 80], 0u);  // the pie's centre is the other window's
    set_current_window(right);
    EXPECT_EQ(page_image(0).pixels[20 * width + 12], 0u);
}

// Windows-1252 on the title bar: the window manager reads UTF-8, and WM_NAME
// carries the same characters (compound text for the euro sign).
TEST_F(PagesOnScreen, TitlesInWindows1252ReachTheTitleBar) {
    ASSERT_GE(open_window(width, height, "klv title", 40, 40, false, false), 0);
    const ::Window id = screen.find("klv title");
    ASSERT_NE(id, 0u);
    set_window_title("Caf\xE9 \x80 5 \x93quoted\x94");
    const std::string expected = "Caf\xC3\xA9 \xE2\x82\xAC 5 \xE2\x80\x9Cquoted\xE2\x80\x9D";
    EXPECT_TRUE(eventually([&] { return screen.property(id, "_NET_WM_NAME") == expected; }));
    EXPECT_EQ(screen.name(id), expected);
    set_window_title("plain");
    EXPECT_TRUE(eventually([&] { return screen.name(id) == "plain"; }));
}

}  // namespace
}  // namespace klv::test

// Mouse and keyboard input as the desktop delivers it: double clicks, frame
// clicks and drags, key flags, characters and the code page.
#include <gtest/gtest.h>

#include "platform/ui/cp1252.h"
#include "platform/ui/double_click.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/testing.h"
#include "tests/platform/ui/window_thread.h"

namespace klv::ui {
namespace {

using test::WindowThread;

TEST(DoubleClick, SecondPressWithinTimeAndRectangleIsADoubleClick) {
    ClickTracker t;
    EXPECT_FALSE(t.press(0, 1000, 10, 10));
    EXPECT_TRUE(t.press(0, 1500, 12, 8));   // 500 ms, 2 px: still inside
    EXPECT_FALSE(t.press(0, 1600, 10, 10));  // a third click starts afresh
    EXPECT_TRUE(t.press(0, 1700, 10, 10));
}

TEST(DoubleClick, TooLateTooFarOrAnotherButtonIsAPlainPress) {
    ClickTracker t;
    EXPECT_FALSE(t.press(0, 1000, 10, 10));
    EXPECT_FALSE(t.press(0, 1501, 10, 10));  // too late; this press arms again
    EXPECT_FALSE(t.press(0, 1600, 13, 10));  // 3 px away
    EXPECT_FALSE(t.press(1, 1700, 13, 10));  // other button
    EXPECT_TRUE(t.press(1, 1800, 13, 10));
    EXPECT_FALSE(t.press(2, 0xFFFFFF00u, 0, 0));
    EXPECT_TRUE(t.press(2, 0x00000010u, 0, 0));  // the tick count wrapped
}

std::vector<std::uint32_t> buttons_only(const std::vector<test::LoggedMessage>& log) {
    std::vector<std::uint32_t> numbers;
    for (const auto& m : log) {
        if (m.message >= WM_MOUSEMOVE && m.message <= WM_MBUTTONDBLCLK) numbers.push_back(m.message);
    }
    return numbers;
}

void click(Window* w, int button, int x, int y, std::uint32_t time) {
    testing::mouse_button(w, button, true, x, y, 0, time);
    testing::mouse_button(w, button, false, x, y, 0, time + 50);
}

TEST(MouseInput, DoubleClickGivesDownUpDoubleUp) {
    WindowThread w;
    ASSERT_TRUE(w.settle());
    click(w.window(), 0, 10, 20, 1000);
    click(w.window(), 0, 11, 20, 1200);
    ASSERT_TRUE(w.settle());
    auto log = w.messages();
    EXPECT_EQ(buttons_only(log),
              (std::vector<std::uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
    std::vector<test::LoggedMessage> buttons;
    for (const auto& m : log) {
        if (m.message >= WM_LBUTTONDOWN && m.message <= WM_MBUTTONDBLCLK) buttons.push_back(m);
    }
    ASSERT_EQ(buttons.size(), 4u);
    EXPECT_EQ(buttons[0].lparam, make_lparam(10, 20));
    EXPECT_EQ(buttons[0].wparam, MK_LBUTTON);
    EXPECT_EQ(buttons[1].wparam, 0u);
    EXPECT_EQ(buttons[2].lparam, make_lparam(11, 20));
}

TEST(MouseInput, ClassWithoutDoubleClicksGetsPlainPresses) {
    test::WindowOptions options;
    options.class_name = test::plain_class;
    WindowThread w(options);
    click(w.window(), 1, 5, 5, 1000);
    click(w.window(), 1, 5, 5, 1100);
    ASSERT_TRUE(w.settle());
    EXPECT_EQ(buttons_only(w.messages()),
              (std::vector<std::uint32_t>{WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP}));
}

TEST(MouseInput, MovesCarryPositionAndFlagsAndFrameEventsGiveNothing) {
    WindowThread w;
    ASSERT_TRUE(w.settle());
    w.clear_log();
    testing::mouse_move(w.window(), 3, -1);  // over the caption
    testing::mouse_move(w.window(), 63, 47, MK_SHIFT | MK_LBUTTON);
    click(w.window(), 2, -2, 5, 5000);  // on the frame
    ASSERT_TRUE(w.settle());
    auto log = w.messages();
    ASSERT_EQ(buttons_only(log), (std::vector<std::uint32_t>{WM_MOUSEMOVE}));
    for (const auto& m : log) {
        if (m.message != WM_MOUSEMOVE) continue;
        EXPECT_EQ(m.lparam, make_lparam(63, 47));
        EXPECT_EQ(m.wparam, MK_SHIFT | MK_LBUTTON);
    }
}

TEST(MouseInput, AnswerHtCaptionDragsAnUntitledWindowByItsFrame) {
    test::WindowOptions options;
    options.title = "";
    WindowThread w(options);
    // The library's rule: every non-client point of an untitled window is a caption.
    w.hook = [&](std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam, std::intptr_t* result) {
        if (message != WM_NCHITTEST) return false;
        *result = default_procedure(w.window(), message, wparam, lparam);
        if (*result != HTCLIENT) *result = HTCAPTION;
        return true;
    };
    ASSERT_TRUE(w.settle());
    w.clear_log();
    testing::mouse_button(w.window(), 0, true, -2, 10);
    testing::mouse_move(w.window(), 48, 30, MK_LBUTTON);
    testing::mouse_button(w.window(), 0, false, -2, 10);
    ASSERT_TRUE(w.settle());
    EXPECT_EQ(testing::outer_rect(w.window()), (gdi::Rect{60, 40, 60 + 70, 40 + 54}));
    EXPECT_TRUE(buttons_only(w.messages()).empty());
}

TEST(MouseInput, ShiftRightClickIsTheSystemMenuGestureNotAClick) {
    WindowThread w;
    ASSERT_TRUE(w.settle());
    w.clear_log();
    testing::mouse_button(w.window(), 1, true, 5, 5, MK_SHIFT);
    testing::mouse_button(w.window(), 1, false, 5, 5, MK_SHIFT);
    ASSERT_TRUE(w.settle());
    EXPECT_TRUE(buttons_only(w.messages()).empty());
}

TEST(KeyInput, LparamCarriesRepeatScanCodeAndExtendedBit) {
    EXPECT_EQ(key_lparam('A', 1, false, false, false), 0x001E0001);
    EXPECT_EQ(key_lparam(VK_UP, 3, false, false, false), 0x01480003);
    EXPECT_EQ(key_lparam(VK_F9, 1, false, false, false), 0x00430001);
    EXPECT_EQ(key_lparam(VK_SPACE, 1, true, false, false), 0x20390001);
    EXPECT_EQ(key_lparam(VK_NUMPAD0 + 5, 1, false, false, false), 0x004C0001);
}

TEST(KeyInput, CharacterKeysAreTranslatedIntoCharMessages) {
    WindowThread w;
    ASSERT_TRUE(w.settle());
    w.clear_log();
    testing::press_key(w.window(), 'A');
    testing::press_key(w.window(), VK_F1);
    testing::press_key(w.window(), VK_RETURN, 3);
    testing::type_character(w.window(), 0xE9);
    ASSERT_TRUE(w.settle());
    std::vector<std::pair<std::uint32_t, std::uintptr_t>> got;
    for (const auto& m : w.messages()) got.emplace_back(m.message, m.wparam);
    std::vector<std::pair<std::uint32_t, std::uintptr_t>> expected{
        {WM_KEYDOWN, 'A'}, {WM_CHAR, 'a'}, {WM_KEYDOWN, VK_F1}, {WM_KEYDOWN, VK_RETURN}, {WM_CHAR, 13},
        {WM_KEYDOWN, 0xE5}, {WM_CHAR, 0xE9}};
    EXPECT_EQ(got, expected);
    EXPECT_EQ(w.messages()[4].lparam & 0xFFFF, 3);  // the repeat count travels with the character
}

TEST(KeyInput, AltF4AsksToCloseAndAltKeysGiveNoCharacters) {
    WindowThread w;
    ASSERT_TRUE(w.settle());
    w.clear_log();
    testing::press_alt_key(w.window(), 'X');
    testing::press_alt_key(w.window(), VK_F4);
    ASSERT_TRUE(w.wait_for(WM_CLOSE));
    ASSERT_TRUE(w.settle());
    for (const auto& m : w.messages()) EXPECT_NE(m.message, WM_CHAR);
}

TEST(CodePage1252, MapsLatin1ToItselfAndTheHighBlockByTable) {
    EXPECT_EQ(cp1252_from_unicode(U'a'), 'a');
    EXPECT_EQ(cp1252_from_unicode(U'\u00E9'), 0xE9);
    EXPECT_EQ(cp1252_from_unicode(U'\u00FF'), 0xFF);
    EXPECT_EQ(cp1252_from_unicode(U'\u20AC'), 0x80);
    EXPECT_EQ(cp1252_from_unicode(U'\u2014'), 0x97);
    EXPECT_EQ(cp1252_from_unicode(U'\u0178'), 0x9F);
    EXPECT_EQ(cp1252_from_unicode(U'\u0080'), -1);  // a C1 control is not a character here
    EXPECT_EQ(cp1252_from_unicode(U'\u0416'), -1);
    for (int byte = 0; byte < 256; ++byte) {
        const char32_t c = unicode_from_cp1252(static_cast<unsigned char>(byte));
        if (c != 0xFFFD) {
            EXPECT_EQ(cp1252_from_unicode(c), byte) << byte;
        }
    }
    EXPECT_EQ(unicode_from_cp1252(0x81), 0xFFFDu);
}

}  // namespace
}  // namespace klv::ui

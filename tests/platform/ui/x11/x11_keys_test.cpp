// The keysym tables, without a display.
#include <gtest/gtest.h>
// After GoogleTest, as the Xlib headers define macros.
#include <X11/keysym.h>

#include "platform/ui/messages.h"
#include "platform/ui/x11/x11_keys.h"

namespace klv::ui {
namespace {

TEST(KeysymTable, NamesKeysAsTheVirtualKeysTheLibraryReads) {
    EXPECT_EQ(virtual_key_from_keysym(XK_a), std::uint32_t('A'));
    EXPECT_EQ(virtual_key_from_keysym(XK_Z), std::uint32_t('Z'));
    EXPECT_EQ(virtual_key_from_keysym(XK_7), std::uint32_t('7'));
    EXPECT_EQ(virtual_key_from_keysym(XK_KP_7), VK_NUMPAD0 + 7);
    EXPECT_EQ(virtual_key_from_keysym(XK_KP_Home), VK_HOME);
    EXPECT_EQ(virtual_key_from_keysym(XK_KP_Begin), VK_CLEAR);
    EXPECT_EQ(virtual_key_from_keysym(XK_Prior), VK_PRIOR);
    EXPECT_EQ(virtual_key_from_keysym(XK_Next), VK_NEXT);
    EXPECT_EQ(virtual_key_from_keysym(XK_Left), VK_LEFT);
    EXPECT_EQ(virtual_key_from_keysym(XK_Down), VK_DOWN);
    EXPECT_EQ(virtual_key_from_keysym(XK_Insert), VK_INSERT);
    EXPECT_EQ(virtual_key_from_keysym(XK_Delete), VK_DELETE);
    EXPECT_EQ(virtual_key_from_keysym(XK_F1), VK_F1);
    EXPECT_EQ(virtual_key_from_keysym(XK_F9), VK_F9);
    EXPECT_EQ(virtual_key_from_keysym(XK_F12), VK_F12);
    EXPECT_EQ(virtual_key_from_keysym(XK_Shift_R), VK_SHIFT);
    EXPECT_EQ(virtual_key_from_keysym(XK_Control_L), VK_CONTROL);
    EXPECT_EQ(virtual_key_from_keysym(XK_Alt_L), VK_MENU);
    EXPECT_EQ(virtual_key_from_keysym(XK_Menu), VK_APPS);
    EXPECT_EQ(virtual_key_from_keysym(XK_Escape), VK_ESCAPE);
    EXPECT_EQ(virtual_key_from_keysym(XK_VoidSymbol), 0u);
}

TEST(KeysymTable, CharactersAreWindows1252Bytes) {
    EXPECT_EQ(character_from_keysym(XK_a, -1), 'a');
    EXPECT_EQ(character_from_keysym(XK_A, -1), 'A');
    EXPECT_EQ(character_from_keysym(XK_eacute, -1), 0xE9);
    EXPECT_EQ(character_from_keysym(XK_EuroSign, -1), 0x80);
    EXPECT_EQ(character_from_keysym(0x1002014, -1), 0x97);  // em dash, as a Unicode keysym
    EXPECT_EQ(character_from_keysym(0x1000416, -1), -1);    // Cyrillic: not in the code page
    EXPECT_EQ(character_from_keysym(XK_OE, -1), 0x8C);
    EXPECT_EQ(character_from_keysym(XK_BackSpace, 8), 8);
    EXPECT_EQ(character_from_keysym(XK_Tab, 9), 9);
    EXPECT_EQ(character_from_keysym(XK_KP_Enter, 13), 13);
    EXPECT_EQ(character_from_keysym(XK_Escape, 27), 27);
    EXPECT_EQ(character_from_keysym(XK_KP_3, '3'), '3');  // Num Lock on
    EXPECT_EQ(character_from_keysym(XK_KP_End, -1), -1);  // Num Lock off
    EXPECT_EQ(character_from_keysym(XK_Delete, 127), -1);
    EXPECT_EQ(character_from_keysym(XK_F1, -1), -1);
    EXPECT_EQ(character_from_keysym(XK_c, 3), 3);  // Ctrl+C
}

}  // namespace
}  // namespace klv::ui

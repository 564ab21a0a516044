#include "platform/ui/x11/x11_keys.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

#include "platform/ui/cp1252.h"
#include "platform/ui/messages.h"

namespace klv::ui {

namespace {

struct KeyName {
    unsigned long keysym;
    std::uint32_t virtual_key;
};

constexpr KeyName function_keys[] = {
    {XK_BackSpace, VK_BACK},   {XK_Tab, VK_TAB},          {XK_ISO_Left_Tab, VK_TAB},  {XK_Clear, VK_CLEAR},
    {XK_Return, VK_RETURN},    {XK_KP_Enter, VK_RETURN},  {XK_Pause, VK_PAUSE},       {XK_Caps_Lock, VK_CAPITAL},
    {XK_Escape, VK_ESCAPE},    {XK_space, VK_SPACE},      {XK_KP_Space, VK_SPACE},    {XK_Prior, VK_PRIOR},
    {XK_Next, VK_NEXT},        {XK_End, VK_END},          {XK_Home, VK_HOME},         {XK_Left, VK_LEFT},
    {XK_Up, VK_UP},            {XK_Right, VK_RIGHT},      {XK_Down, VK_DOWN},         {XK_Insert, VK_INSERT},
    {XK_Delete, VK_DELETE},    {XK_KP_Prior, VK_PRIOR},   {XK_KP_Next, VK_NEXT},      {XK_KP_End, VK_END},
    {XK_KP_Home, VK_HOME},     {XK_KP_Left, VK_LEFT},     {XK_KP_Up, VK_UP},          {XK_KP_Right, VK_RIGHT},
    {XK_KP_Down, VK_DOWN},     {XK_KP_Insert, VK_INSERT}, {XK_KP_Delete, VK_DELETE},  {XK_KP_Begin, VK_CLEAR},
    {XK_Shift_L, VK_SHIFT},    {XK_Shift_R, VK_SHIFT},    {XK_Control_L, VK_CONTROL}, {XK_Control_R, VK_CONTROL},
    {XK_Alt_L, VK_MENU},       {XK_Alt_R, VK_MENU},       {XK_Menu, VK_APPS},         {XK_KP_Multiply, 0x6A},
    {XK_KP_Add, 0x6B},         {XK_KP_Separator, 0x6C},   {XK_KP_Subtract, 0x6D},     {XK_KP_Decimal, 0x6E},
    {XK_KP_Divide, 0x6F},      {XK_Num_Lock, 0x90},       {XK_Scroll_Lock, 0x91},     {XK_Print, 0x2C},
    {XK_Super_L, 0x5B},        {XK_Super_R, 0x5C},        {XK_ISO_Level3_Shift, VK_MENU},
};

// Punctuation keys of a US layout, by their unshifted keysym (VK_OEM_*).
constexpr KeyName punctuation_keys[] = {
    {XK_semicolon, 0xBA}, {XK_equal, 0xBB},        {XK_comma, 0xBC},     {XK_minus, 0xBD},
    {XK_period, 0xBE},    {XK_slash, 0xBF},        {XK_grave, 0xC0},     {XK_bracketleft, 0xDB},
    {XK_backslash, 0xDC}, {XK_bracketright, 0xDD}, {XK_apostrophe, 0xDE}, {XK_less, 0xE2},
};

// Keysyms of the older Latin-2/Latin-9/publishing sets that the code page has.
struct KeysymCharacter {
    unsigned long keysym;
    char32_t character;
};
constexpr KeysymCharacter legacy_characters[] = {
    {XK_EuroSign, 0x20AC}, {XK_OE, 0x0152},     {XK_oe, 0x0153},     {XK_Ydiaeresis, 0x0178},
    {XK_Scaron, 0x0160},   {XK_scaron, 0x0161}, {XK_Zcaron, 0x017D}, {XK_zcaron, 0x017E},
};

}  // namespace

std::uint32_t virtual_key_from_keysym(unsigned long keysym) {
    if (keysym >= XK_a && keysym <= XK_z) return std::uint32_t(keysym - XK_a + 'A');
    if (keysym >= XK_A && keysym <= XK_Z) return std::uint32_t(keysym);
    if (keysym >= XK_0 && keysym <= XK_9) return std::uint32_t(keysym);
    if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return std::uint32_t(VK_NUMPAD0 + (keysym - XK_KP_0));
    if (keysym >= XK_F1 && keysym <= XK_F24) return std::uint32_t(VK_F1 + (keysym - XK_F1));
    for (const auto& key : function_keys) {
        if (key.keysym == keysym) return key.virtual_key;
    }
    for (const auto& key : punctuation_keys) {
        if (key.keysym == keysym) return key.virtual_key;
    }
    return 0;
}

namespace {

int keypad_character(unsigned long keysym) {
    if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return int('0' + (keysym - XK_KP_0));
    switch (keysym) {
        case XK_KP_Multiply: return '*';
        case XK_KP_Add: return '+';
        case XK_KP_Subtract: return '-';
        case XK_KP_Decimal: return '.';
        case XK_KP_Divide: return '/';
        case XK_KP_Separator: return ',';
        case XK_KP_Space: return ' ';
        case XK_KP_Equal: return '=';
        default: return -1;
    }
}

int control_key_character(unsigned long keysym) {
    switch (keysym) {
        case XK_BackSpace: return 8;
        case XK_Tab:
        case XK_ISO_Left_Tab: return 9;
        case XK_Return:
        case XK_KP_Enter: return 13;
        case XK_Escape: return 27;
        default: return keypad_character(keysym);
    }
}

}  // namespace

int character_from_keysym(unsigned long keysym, int control_byte) {
    if (keysym >= 0xFF00 && keysym <= 0xFFFF) return control_key_character(keysym);
    if (control_byte >= 0 && control_byte < 0x20) return control_byte;
    if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF)) return int(keysym);
    if ((keysym & 0xFF000000UL) == 0x01000000UL) return cp1252_from_unicode(char32_t(keysym & 0x00FFFFFFUL));
    for (const auto& legacy : legacy_characters) {
        if (legacy.keysym == keysym) return cp1252_from_unicode(legacy.character);
    }
    return -1;
}

}  // namespace klv::ui

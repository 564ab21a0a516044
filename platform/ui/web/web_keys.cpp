#include "platform/ui/web/web_keys.h"

#include "platform/ui/cp1252.h"
#include "platform/ui/messages.h"

namespace klv::ui {

namespace {

struct KeyName {
    const char* code;
    std::uint32_t virtual_key;
};

constexpr KeyName named_keys[] = {
    {"Backspace", VK_BACK},      {"Tab", VK_TAB},           {"Enter", VK_RETURN},      {"NumpadEnter", VK_RETURN},
    {"Pause", VK_PAUSE},         {"CapsLock", VK_CAPITAL},  {"Escape", VK_ESCAPE},     {"Space", VK_SPACE},
    {"PageUp", VK_PRIOR},        {"PageDown", VK_NEXT},     {"End", VK_END},           {"Home", VK_HOME},
    {"ArrowLeft", VK_LEFT},      {"ArrowUp", VK_UP},        {"ArrowRight", VK_RIGHT},  {"ArrowDown", VK_DOWN},
    {"Insert", VK_INSERT},       {"Delete", VK_DELETE},     {"ShiftLeft", VK_SHIFT},   {"ShiftRight", VK_SHIFT},
    {"ControlLeft", VK_CONTROL}, {"ControlRight", VK_CONTROL}, {"AltLeft", VK_MENU},   {"AltRight", VK_MENU},
    {"ContextMenu", VK_APPS},    {"NumpadMultiply", 0x6A},  {"NumpadAdd", 0x6B},       {"NumpadComma", 0x6C},
    {"NumpadSubtract", 0x6D},    {"NumpadDecimal", 0x6E},   {"NumpadDivide", 0x6F},    {"NumLock", 0x90},
    {"ScrollLock", 0x91},        {"PrintScreen", 0x2C},     {"MetaLeft", 0x5B},        {"MetaRight", 0x5C},
    {"Semicolon", 0xBA},         {"Equal", 0xBB},           {"Comma", 0xBC},           {"Minus", 0xBD},
    {"Period", 0xBE},            {"Slash", 0xBF},           {"Backquote", 0xC0},       {"BracketLeft", 0xDB},
    {"Backslash", 0xDC},         {"BracketRight", 0xDD},    {"Quote", 0xDE},           {"IntlBackslash", 0xE2},
};

bool starts_with(const std::string& text, const char* prefix, std::size_t* rest) {
    std::size_t n = 0;
    while (prefix[n] != 0) ++n;
    if (text.compare(0, n, prefix) != 0) return false;
    *rest = n;
    return true;
}

// The one character of a UTF-8 `key` ("a", "é", "€"); -1 for a key name.
long single_character(const std::string& key) {
    const auto* s = reinterpret_cast<const unsigned char*>(key.data());
    const std::size_t n = key.size();
    if (n == 1 && s[0] < 0x80) return s[0];
    if (n == 2 && (s[0] & 0xE0) == 0xC0) return long(s[0] & 0x1F) << 6 | (s[1] & 0x3F);
    if (n == 3 && (s[0] & 0xF0) == 0xE0) return long(s[0] & 0x0F) << 12 | long(s[1] & 0x3F) << 6 | (s[2] & 0x3F);
    if (n == 4 && (s[0] & 0xF8) == 0xF0)
        return long(s[0] & 0x07) << 18 | long(s[1] & 0x3F) << 12 | long(s[2] & 0x3F) << 6 | (s[3] & 0x3F);
    return -1;
}

}  // namespace

std::uint32_t virtual_key_from_code(const std::string& code) {
    std::size_t at = 0;
    if (starts_with(code, "Key", &at) && code.size() == at + 1 && code[at] >= 'A' && code[at] <= 'Z')
        return std::uint32_t(code[at]);
    if (starts_with(code, "Digit", &at) && code.size() == at + 1 && code[at] >= '0' && code[at] <= '9')
        return std::uint32_t(code[at]);
    if (starts_with(code, "Numpad", &at) && code.size() == at + 1 && code[at] >= '0' && code[at] <= '9')
        return std::uint32_t(VK_NUMPAD0 + (code[at] - '0'));
    if (starts_with(code, "F", &at) && code.size() > at && code.size() <= at + 2) {
        int n = 0;
        for (std::size_t i = at; i < code.size(); ++i) {
            if (code[i] < '0' || code[i] > '9') return 0;
            n = n * 10 + (code[i] - '0');
        }
        return n >= 1 && n <= 24 ? std::uint32_t(VK_F1 + n - 1) : 0;
    }
    for (const auto& key : named_keys)
        if (code == key.code) return key.virtual_key;
    return 0;
}

int character_from_key(const std::string& key, std::uint32_t virtual_key, bool control, bool alt) {
    if (alt) return -1;
    switch (virtual_key) {
        case VK_BACK: return 8;
        case VK_TAB: return 9;
        case VK_RETURN: return 13;
        case VK_ESCAPE: return 27;
        default: break;
    }
    if (control && virtual_key >= 'A' && virtual_key <= 'Z') return int(virtual_key - 'A' + 1);
    const long character = single_character(key);
    if (character < 0x20 || character == 0x7F) return -1;
    return cp1252_from_unicode(char32_t(character));
}

}  // namespace klv::ui

#include "platform/ui/keyboard.h"

#include "platform/ui/messages.h"

namespace klv::ui {

namespace {

// Set-1 make codes of the letter keys, A to Z.
constexpr std::uint8_t letter_codes[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                           0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                           0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
// Keypad 0 to 9 (Num Lock on).
constexpr std::uint8_t keypad_codes[10] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};

struct NamedScanCode {
    std::uint32_t virtual_key;
    ScanCode scan;
};

constexpr NamedScanCode named_codes[] = {
    {VK_ESCAPE, {0x01, false}}, {VK_BACK, {0x0E, false}},   {VK_TAB, {0x0F, false}},
    {VK_RETURN, {0x1C, false}}, {VK_CONTROL, {0x1D, false}}, {VK_SHIFT, {0x2A, false}},
    {VK_MENU, {0x38, false}},   {VK_SPACE, {0x39, false}},  {VK_CAPITAL, {0x3A, false}},
    {VK_PAUSE, {0x45, false}},  {VK_CLEAR, {0x4C, false}},  {VK_HOME, {0x47, true}},
    {VK_UP, {0x48, true}},      {VK_PRIOR, {0x49, true}},   {VK_LEFT, {0x4B, true}},
    {VK_RIGHT, {0x4D, true}},   {VK_END, {0x4F, true}},     {VK_DOWN, {0x50, true}},
    {VK_NEXT, {0x51, true}},    {VK_INSERT, {0x52, true}},  {VK_DELETE, {0x53, true}},
    {VK_APPS, {0x5D, true}},    {VK_F11, {0x57, false}}, {VK_F12, {0x58, false}},
};

}  // namespace

ScanCode scan_code_for_virtual_key(std::uint32_t vk) {
    if (vk >= 'A' && vk <= 'Z') return {letter_codes[vk - 'A'], false};
    if (vk >= '1' && vk <= '9') return {std::uint8_t(0x02 + vk - '1'), false};
    if (vk == '0') return {0x0B, false};
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) return {keypad_codes[vk - VK_NUMPAD0], false};
    if (vk >= VK_F1 && vk <= VK_F10) return {std::uint8_t(0x3B + vk - VK_F1), false};
    for (const auto& named : named_codes) {
        if (named.virtual_key == vk) return named.scan;
    }
    return {};
}

std::intptr_t key_lparam(std::uint32_t vk, int repeat_count, bool alt, bool previously_down, bool up) {
    const ScanCode scan = scan_code_for_virtual_key(vk);
    std::uint32_t value = std::uint32_t(repeat_count) & 0xFFFF;
    value |= std::uint32_t(scan.code) << 16;
    if (scan.extended) value |= 1u << 24;
    if (alt) value |= 1u << 29;
    if (previously_down) value |= 1u << 30;
    if (up) value |= 1u << 31;
    return std::intptr_t(value);
}

int character_for_virtual_key(std::uint32_t vk) {
    if (vk >= 'A' && vk <= 'Z') return int(vk - 'A' + 'a');
    if (vk >= '0' && vk <= '9') return int(vk);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) return int('0' + vk - VK_NUMPAD0);
    switch (vk) {
        case VK_BACK: return 8;
        case VK_TAB: return 9;
        case VK_RETURN: return 13;
        case VK_ESCAPE: return 27;
        case VK_SPACE: return ' ';
        default: return -1;
    }
}

}  // namespace klv::ui

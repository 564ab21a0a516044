// Key messages as the desktop makes them: the key flags in lparam and the
// character a key gives without modifiers.
#pragma once

#include <cstdint>

namespace klv::ui {

// Scan code (scan code set 1) of a virtual key, and whether it is one of the
// extended keys (the arrows and the block above them, right Control/Alt).
struct ScanCode {
    std::uint8_t code = 0;
    bool extended = false;
};
ScanCode scan_code_for_virtual_key(std::uint32_t virtual_key);

// lparam of WM_KEYDOWN / WM_KEYUP: repeat count in bits 0-15, scan code in
// 16-23, extended key in 24, Alt held in 29, key previously down in 30,
// released in 31.
std::intptr_t key_lparam(std::uint32_t virtual_key, int repeat_count, bool alt, bool previously_down, bool up);

// The Windows-1252 byte a virtual key gives without Shift (letters lower
// case), or -1 for a key without a character.
int character_for_virtual_key(std::uint32_t virtual_key);

}  // namespace klv::ui

// The browser's key events as the desktop's keys: the virtual key of a
// KeyboardEvent's `code` (the key's place, as on a US keyboard) and the
// Windows-1252 byte its `key` types. Internal to platform/ui/web.
#pragma once

#include <cstdint>
#include <string>

namespace klv::ui {

// 0 for a key the table does not name.
std::uint32_t virtual_key_from_code(const std::string& code);
// The byte a key down types: its character in the code page, the control
// bytes of Enter 13, Escape 27, Backspace 8 and Tab 9, Control with a letter
// 1 to 26; -1 for none (a character the code page lacks, Alt held).
int character_from_key(const std::string& key, std::uint32_t virtual_key, bool control, bool alt);

}  // namespace klv::ui

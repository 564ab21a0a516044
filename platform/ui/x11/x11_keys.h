// Keys of an X keyboard as the desktop this library descends from names
// them: virtual-key codes and Windows-1252 characters. Pure functions of the
// keysym; no X11 types here.
#pragma once

#include <cstdint>

namespace klv::ui {

// The virtual key of a keysym (letters give 'A' to 'Z' whatever the case),
// or 0 for a key that has none.
std::uint32_t virtual_key_from_keysym(unsigned long keysym);

// The Windows-1252 byte a key press types, or -1 for none. `keysym` is the
// keysym with the modifiers applied (XLookupString's), `control_byte` the
// byte XLookupString made when it is a control character (Ctrl+letter), else -1.
int character_from_keysym(unsigned long keysym, int control_byte);

}  // namespace klv::ui

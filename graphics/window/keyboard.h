// Keys typed into a window become bytes in its key queue: a character key
// its Windows-1252 code, a navigation or function key 0 and then a key code.
#pragma once

#include "graphics/klv.h"

#include <cstdint>
#include <optional>

#include "platform/ui/ui.h"

namespace klv {

// The second byte of an extended key (its make code in scan code set 1), or
// none for a key that queues nothing.
std::optional<std::uint8_t> extended_key_code(std::uint32_t virtual_key);

void on_char(ui::Window* window, std::uint32_t character, int repeat_count);
void on_key_down(ui::Window* window, std::uint32_t virtual_key, bool key_down, int repeat_count,
                 std::uint32_t key_flags);

}  // namespace klv


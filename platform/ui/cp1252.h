// The Windows-1252 code page: the bytes that character messages and text
// carry.
#pragma once

namespace klv::ui {

// The byte of a Unicode character, or -1 when the code page lacks it.
// 0x00-0x7F and 0xA0-0xFF are themselves; 0x80-0x9F hold the euro sign,
// typographic quotes, dashes and a few letters (0x81, 0x8D, 0x8F, 0x90 and
// 0x9D are unused).
int cp1252_from_unicode(char32_t character);

// The Unicode character of a byte; U+FFFD for the five unused bytes.
char32_t unicode_from_cp1252(unsigned char byte);

}  // namespace klv::ui

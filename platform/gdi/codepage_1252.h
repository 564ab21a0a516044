// The Windows-1252 code page: the characters that text bytes stand for.
#pragma once

#include <string>
#include <string_view>

namespace klv::gdi {

// The Unicode character of a Windows-1252 byte. Bytes 0x00-0x7F and
// 0xA0-0xFF are Latin-1; 0x80-0x9F hold the typographic extras (0x80 is the
// euro sign). The five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) stand for the control characters of the same number, as
// Windows converts them; fonts have no glyph for those and show their
// missing-glyph box.
char32_t unicode_from_cp1252(unsigned char byte);

// Windows-1252 text as UTF-8, for window titles and printed text.
std::string utf8_from_cp1252(std::string_view text);

}  // namespace klv::gdi

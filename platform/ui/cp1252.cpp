#include "platform/ui/cp1252.h"

namespace klv::ui {

namespace {

// 0x80 to 0x9F; 0 marks an unused byte.
constexpr char32_t high_block[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

}  // namespace

int cp1252_from_unicode(char32_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) return int(character);
    for (int i = 0; i < 32; ++i) {
        if (high_block[i] != 0 && high_block[i] == character) return 0x80 + i;
    }
    return -1;
}

char32_t unicode_from_cp1252(unsigned char byte) {
    if (byte < 0x80 || byte >= 0xA0) return byte;
    const char32_t c = high_block[byte - 0x80];
    return c ? c : 0xFFFD;
}

}  // namespace klv::ui

// The colour tables GetDIBits gives for a bitmap when the default palette is
// in use.
#include <array>

#include "platform/gdi/dib_bits.h"

namespace klv::gdi {

namespace {

constexpr RgbQuad rgb(int red, int green, int blue) {
    return RgbQuad{std::uint8_t(blue), std::uint8_t(green), std::uint8_t(red), 0};
}

// The 16 VGA colours in the order of the 4-bit colour table.
constexpr std::array<RgbQuad, 16> vga_colors = {
    rgb(0, 0, 0),       rgb(128, 0, 0),   rgb(0, 128, 0),   rgb(128, 128, 0),
    rgb(0, 0, 128),     rgb(128, 0, 128), rgb(0, 128, 128), rgb(192, 192, 192),
    rgb(128, 128, 128), rgb(255, 0, 0),   rgb(0, 255, 0),   rgb(255, 255, 0),
    rgb(0, 0, 255),     rgb(255, 0, 255), rgb(0, 255, 255), rgb(255, 255, 255),
};

// The 20 system colours: the first ten open the 8-bit table, the last ten close it.
constexpr std::array<RgbQuad, 10> system_colors_low = {
    rgb(0, 0, 0),     rgb(128, 0, 0),   rgb(0, 128, 0),     rgb(128, 128, 0),   rgb(0, 0, 128),
    rgb(128, 0, 128), rgb(0, 128, 128), rgb(192, 192, 192), rgb(192, 220, 192), rgb(166, 202, 240),
};
constexpr std::array<RgbQuad, 10> system_colors_high = {
    rgb(255, 251, 240), rgb(160, 160, 164), rgb(128, 128, 128), rgb(255, 0, 0),   rgb(0, 255, 0),
    rgb(255, 255, 0),   rgb(0, 0, 255),     rgb(255, 0, 255),   rgb(0, 255, 255), rgb(255, 255, 255),
};

constexpr int cube_first = 10;
constexpr int cube_size = 216;
constexpr int grey_first = cube_first + cube_size;
constexpr int grey_count = 20;

RgbQuad eight_bit_entry(int index) {
    if (index < cube_first) return system_colors_low[std::size_t(index)];
    if (index >= 256 - 10) return system_colors_high[std::size_t(index - (256 - 10))];
    if (index < grey_first) {
        int cube = index - cube_first;
        return rgb(cube / 36 * 51, cube / 6 % 6 * 51, cube % 6 * 51);
    }
    int level = (index - grey_first + 1) * 255 / (grey_count + 1);
    return rgb(level, level, level);
}

}  // namespace

RgbQuad default_palette_entry(int bit_count, int index) {
    if (index < 0) return {};
    if (bit_count == 1) return index == 0 ? rgb(0, 0, 0) : index == 1 ? rgb(255, 255, 255) : RgbQuad{};
    if (bit_count == 4) return index < 16 ? vga_colors[std::size_t(index)] : RgbQuad{};
    if (bit_count == 8) return index < 256 ? eight_bit_entry(index) : RgbQuad{};
    return {};
}

}  // namespace klv::gdi

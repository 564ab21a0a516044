// Images for comparing drawings with the goldens: read a BMP into
// 0x00RRGGBB pixels, compare two images outside masked boxes and write the
// differences as a BMP that shows where they are.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/golden_script.h"

namespace klv::test {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows top first

    std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};

// Reads an uncompressed 24- or 32-bit BMP (bottom-up or top-down). Throws
// std::runtime_error when the file is missing or not such a BMP.
Image read_bmp(const std::string& path);
// Writes a 24-bit bottom-up BMP. Returns false when the file cannot be written.
bool write_bmp(const std::string& path, const Image& image);

// Pixels that differ between two images of the same size, not counting those
// inside a mask box. Images of different sizes differ everywhere (the
// larger area is counted).
long count_differences(const Image& actual, const Image& expected, const std::vector<MaskBox>& mask = {});

// A picture of the differences: equal pixels are the expected image faded
// towards white, differing pixels pure red, masked pixels dark blue.
Image difference_image(const Image& actual, const Image& expected, const std::vector<MaskBox>& mask = {});

}  // namespace klv::test

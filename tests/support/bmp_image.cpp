#include "tests/support/bmp_image.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace klv::test {

namespace {

std::uint32_t read_u32(const std::vector<unsigned char>& b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}
unsigned read_u16(const std::vector<unsigned char>& b, std::size_t at) { return b[at] | unsigned(b[at + 1]) << 8; }

void put_u32(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + std::size_t(i)] = static_cast<unsigned char>(v >> (8 * i));
}

bool in_mask(const std::vector<MaskBox>& mask, int x, int y) {
    return std::any_of(mask.begin(), mask.end(),
                       [&](const MaskBox& m) { return x >= m.left && x < m.right && y >= m.top && y < m.bottom; });
}

}  // namespace

Image read_bmp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') throw std::runtime_error(path + ": not a BMP");
    std::uint32_t offset = read_u32(b, 10);
    auto width = std::int32_t(read_u32(b, 18));
    auto height = std::int32_t(read_u32(b, 22));
    unsigned bits = read_u16(b, 28);
    if ((bits != 24 && bits != 32) || read_u32(b, 30) > 3 || width <= 0 || height == 0 || height == INT32_MIN)
        throw std::runtime_error(path + ": not an uncompressed 24/32-bit BMP");
    bool bottom_up = height > 0;
    Image image{width, bottom_up ? height : -height, {}};
    std::size_t bytes = bits / 8;
    std::size_t stride = (std::size_t(width) * bytes + 3) / 4 * 4;
    if (offset + stride * std::size_t(image.height) > b.size()) throw std::runtime_error(path + ": truncated");
    image.pixels.resize(std::size_t(width) * std::size_t(image.height));
    for (int y = 0; y < image.height; ++y) {
        std::size_t row = offset + stride * std::size_t(bottom_up ? image.height - 1 - y : y);
        for (int x = 0; x < width; ++x) {
            std::size_t p = row + std::size_t(x) * bytes;
            image.pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)] =
                std::uint32_t(b[p]) | std::uint32_t(b[p + 1]) << 8 | std::uint32_t(b[p + 2]) << 16;
        }
    }
    return image;
}

bool write_bmp(const std::string& path, const Image& image) {
    std::size_t stride = (std::size_t(image.width) * 3 + 3) / 4 * 4;
    std::size_t size = 54 + stride * std::size_t(image.height);
    std::vector<unsigned char> b(size, 0);
    b[0] = 'B';
    b[1] = 'M';
    put_u32(b, 2, std::uint32_t(size));
    put_u32(b, 10, 54);
    put_u32(b, 14, 40);
    put_u32(b, 18, std::uint32_t(image.width));
    put_u32(b, 22, std::uint32_t(image.height));
    b[26] = 1;
    b[28] = 24;
    put_u32(b, 34, std::uint32_t(stride * std::size_t(image.height)));
    for (int y = 0; y < image.height; ++y) {
        std::size_t row = 54 + stride * std::size_t(image.height - 1 - y);
        for (int x = 0; x < image.width; ++x) {
            std::uint32_t p = image.at(x, y);
            for (int i = 0; i < 3; ++i) b[row + std::size_t(x) * 3 + std::size_t(i)] = static_cast<unsigned char>(p >> (8 * i));
        }
    }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
    return bool(out);
}

long count_differences(const Image& actual, const Image& expected, const std::vector<MaskBox>& mask) {
    if (actual.width != expected.width || actual.height != expected.height)
        return long(std::max(actual.pixels.size(), expected.pixels.size()));
    long count = 0;
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x)
            if (actual.at(x, y) != expected.at(x, y) && !in_mask(mask, x, y)) ++count;
    return count;
}

Image difference_image(const Image& actual, const Image& expected, const std::vector<MaskBox>& mask) {
    Image diff{expected.width, expected.height, expected.pixels};
    bool same_size = actual.width == expected.width && actual.height == expected.height;
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            std::uint32_t& p = diff.pixels[std::size_t(y) * std::size_t(diff.width) + std::size_t(x)];
            if (in_mask(mask, x, y)) {
                p = 0x000040;
            } else if (!same_size || actual.at(x, y) != expected.at(x, y)) {
                p = 0xFF0000;
            } else {  // fade towards white: a quarter of the colour, three quarters white
                p = ((p >> 2) & 0x3F3F3F) + 0xBFBFBF;
            }
        }
    }
    return diff;
}

}  // namespace klv::test

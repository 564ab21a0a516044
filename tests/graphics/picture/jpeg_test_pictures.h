// Pictures for the JPEG tests: a smooth photo-like source with one sharp
// disc, its grey twin, and what tests read from JPEG files (the coding kind,
// how far a decoding is from another), and EXIF orientation put in a file.
#pragma once

#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "tests/graphics/picture/picture_test_files.h"

namespace klv::test {

inline Image test_photo(int width, int height) {
    Image image{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int r = std::min(255, 40 + 4 * x), g = std::min(255, 30 + 6 * y);
            int b = int(128 + 90 * std::sin(x / 5.0) * std::cos(y / 4.0));
            if ((x - 30) * (x - 30) + (y - 12) * (y - 12) < 49) r /= 3, g /= 3, b = 255 - b / 2;
            image.pixels.push_back(std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b));
        }
    return image;
}

inline Image grey_photo(int width, int height) {
    Image image = test_photo(width, height);
    for (std::uint32_t& p : image.pixels) {
        const std::uint32_t v = ((p >> 16) * 3 + (p >> 8 & 0xFF) * 5 + (p & 0xFF) * 2) / 10;
        p = v * 0x010101;
    }
    return image;
}

// A binary PGM of an image's blue channel (its grey level when grey).
inline void write_pgm(const std::string& path, const Image& image) {
    std::ofstream out(path, std::ios::binary);
    out << "P5\n" << image.width << " " << image.height << "\n255\n";
    for (std::uint32_t p : image.pixels) out.put(char(p & 0xFF));
}

inline Image crop(const Image& image, int width, int height) {
    Image part{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) part.pixels.push_back(image.at(x, y));
    return part;
}

struct Difference {
    int largest = 256;  // of one channel; 256 when the sizes differ
    double mean = 256;
};

inline Difference difference(const Image& a, const Image& b) {
    Difference d;
    if (a.width != b.width || a.height != b.height || a.pixels.empty()) return d;
    long total = 0;
    d.largest = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i)
        for (int shift : {16, 8, 0}) {
            const int change = std::abs(int(a.pixels[i] >> shift & 0xFF) - int(b.pixels[i] >> shift & 0xFF));
            d.largest = std::max(d.largest, change);
            total += change;
        }
    d.mean = double(total) / double(3 * a.pixels.size());
    return d;
}

// The frame's kind and each component's sampling ("SOF2 2x2 1x1 1x1"), then
// " Adobe T" for an Adobe segment with colour transform T.
inline std::string jpeg_kind(const Bytes& b) {
    std::string kind, adobe;
    for (std::size_t i = 2; i + 4 <= b.size() && b[i] == 0xFF;) {
        const int marker = b[i + 1];
        const std::size_t length = std::size_t(b[i + 2]) << 8 | b[i + 3];
        // Appended piece by piece: GCC 12 at -O3 warns falsely (restrict)
        // on operator+ of a literal and a temporary string.
        if (marker == 0xEE && length >= 14 && i + 15 < b.size()) adobe.assign(" Adobe ").append(std::to_string(b[i + 15]));
        if (marker >= 0xC0 && marker <= 0xC2 && i + 10 < b.size()) {
            kind.assign("SOF").append(std::to_string(marker - 0xC0));
            for (int c = 0; c < b[i + 9] && i + 11 + 3 * std::size_t(c) < b.size(); ++c) {
                const int sampling = b[i + 11 + 3 * std::size_t(c)];
                kind.append(" ").append(std::to_string(sampling >> 4)).append("x").append(std::to_string(sampling & 15));
            }
        }
        if (marker == 0xDA) break;
        i += 2 + length;
    }
    return kind + adobe;
}

// The file with an EXIF segment saying `orientation` put after SOI: its
// TIFF data little- or big-endian, with another entry before the
// orientation's.
inline Bytes with_orientation(const Bytes& jpeg, int orientation, bool big_endian) {
    Bytes tiff = big_endian ? Bytes{'M', 'M', 0, 42, 0, 0, 0, 8} : Bytes{'I', 'I', 42, 0, 8, 0, 0, 0};
    auto u16 = [&](std::uint32_t v) {
        big_endian ? tiff.insert(tiff.end(), {std::uint8_t(v >> 8), std::uint8_t(v)})
                   : tiff.insert(tiff.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
    };
    auto u32 = [&](std::uint32_t v) { big_endian ? (u16(v >> 16), u16(v & 0xFFFF)) : (u16(v & 0xFFFF), u16(v >> 16)); };
    u16(2);                                               // entries
    u16(0x010F), u16(2), u32(4), u32(0);                  // the camera's maker: "", ASCII
    u16(0x0112), u16(3), u32(1), u16(std::uint32_t(orientation)), u16(0);  // orientation, SHORT
    u32(0);                                               // no next directory
    const std::size_t length = 8 + tiff.size();
    Bytes out = {0xFF, 0xD8, 0xFF, 0xE1, std::uint8_t(length >> 8), std::uint8_t(length), 'E', 'x', 'i', 'f', 0, 0};
    out.reserve(out.size() + tiff.size() + jpeg.size());
    for (std::uint8_t v : tiff) out.push_back(v);
    for (std::size_t i = 2; i < jpeg.size(); ++i) out.push_back(jpeg[i]);
    return out;
}

}  // namespace klv::test

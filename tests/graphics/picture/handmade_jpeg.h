// JPEG files written byte by byte: one grey component whose coefficients
// are all 0 (every pixel 0x808080), coded with one-bit Huffman codes, in a
// single baseline scan or in progressive scans (a DC scan, then AC bands
// refined bit by bit), so that tests can cut, patch and stack scans without
// an encoder.
#pragma once

#include <cstdint>
#include <vector>

namespace klv::test {

class HandmadeJpeg {
public:
    using Bytes = std::vector<std::uint8_t>;

    HandmadeJpeg(int width, int height) : width_(width), height_(height) {}

    // SOI, the tables, SOF0 and one scan, EOI.
    Bytes baseline() const {
        Bytes b = head(0xC0);
        scan(b, 0, 63, 0, 2);  // per block: DC 0, then end of block
        end(b);
        return b;
    }

    // SOI, the tables, SOF2, the DC scan and `ac_scans` AC scans, EOI. The
    // AC scans take coefficients 1 to 63 one at a time, first at bit 13,
    // then each lower bit: up to 63 * 14 of them make a valid progression.
    Bytes progressive(int ac_scans) const {
        Bytes b = head(0xC2);
        scan(b, 0, 0, 0, 1);
        for (int i = 0; i < ac_scans; ++i) {
            const int k = 1 + i % 63, bit = 13 - i / 63;
            scan(b, k, k, bit == 13 ? 13 : (bit + 1) << 4 | bit, 1);
        }
        end(b);
        return b;
    }

    // Where SOF's fields are: the marker's second byte, precision, height.
    static constexpr std::size_t sof_marker = 2 + 69 + 1;
    static constexpr std::size_t sof_precision = sof_marker + 3;
    static constexpr std::size_t sof_height = sof_marker + 4;

private:
    void segment(Bytes& b, std::uint8_t marker, const Bytes& body) const {
        const std::size_t length = body.size() + 2;
        b.insert(b.end(), {0xFF, marker, std::uint8_t(length >> 8), std::uint8_t(length)});
        b.insert(b.end(), body.begin(), body.end());
    }
    Bytes head(std::uint8_t sof) const {
        Bytes b = {0xFF, 0xD8};
        Bytes quantisation(65, 1);
        quantisation[0] = 0;
        segment(b, 0xDB, quantisation);
        segment(b, sof, {8, std::uint8_t(height_ >> 8), std::uint8_t(height_), std::uint8_t(width_ >> 8),
                         std::uint8_t(width_), 1, 1, 0x11, 0});
        for (std::uint8_t table : {0x00, 0x10}) {  // DC and AC: the one code "0" for symbol 0
            Bytes huffman(18, 0);
            huffman[0] = table;
            huffman[1] = 1;
            segment(b, 0xC4, huffman);
        }
        return b;
    }
    // A scan of coefficients first to last at approximation bits `bits`,
    // `codes` one-bit codes a block, padded with 1 bits.
    void scan(Bytes& b, int first, int last, int bits, int codes) const {
        segment(b, 0xDA, {1, 1, 0x00, std::uint8_t(first), std::uint8_t(last), std::uint8_t(bits)});
        const long blocks = long((width_ + 7) / 8) * long((height_ + 7) / 8);
        const long total = blocks * codes;
        b.insert(b.end(), std::size_t(total / 8), 0);
        if (total % 8) b.push_back(std::uint8_t(0xFF >> (total % 8)));
    }
    void end(Bytes& b) const { b.insert(b.end(), {0xFF, 0xD9}); }

    int width_;
    int height_;
};

}  // namespace klv::test

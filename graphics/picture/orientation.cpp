#include "graphics/picture/orientation.h"

#include <cstring>

namespace klv {

namespace {

constexpr std::uint32_t orientation_tag = 0x0112;
constexpr std::uint32_t short_type = 3;

// The TIFF structure inside the EXIF data, in its own byte order.
class Tiff {
public:
    explicit Tiff(std::span<const std::uint8_t> bytes) : bytes_(bytes) {
        little_ = bytes.size() >= 2 && bytes[0] == 'I' && bytes[1] == 'I';
        const bool big = bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'M';
        ok_ = (little_ || big) && u16(2) == 42;
    }
    bool ok() const { return ok_; }
    // 0 past the end.
    std::uint32_t u16(std::uint64_t at) const {
        if (at + 2 > bytes_.size()) return 0;
        const std::uint32_t a = bytes_[at], b = bytes_[at + 1];
        return little_ ? a | b << 8 : a << 8 | b;
    }
    std::uint32_t u32(std::uint64_t at) const {
        return little_ ? u16(at) | u16(at + 2) << 16 : u16(at) << 16 | u16(at + 2);
    }
    std::uint64_t size() const { return bytes_.size(); }

private:
    std::span<const std::uint8_t> bytes_;
    bool little_ = false;
    bool ok_ = false;
};

}  // namespace

int exif_orientation(std::span<const std::uint8_t> app1) {
    static constexpr std::uint8_t exif[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (app1.size() < sizeof exif || std::memcmp(app1.data(), exif, sizeof exif) != 0) return 1;
    const Tiff tiff(app1.subspan(sizeof exif));
    if (!tiff.ok()) return 1;
    const std::uint64_t directory = tiff.u32(4);  // the first image's
    const std::uint32_t entries = tiff.u16(directory);
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::uint64_t entry = directory + 2 + 12 * std::uint64_t(i);
        if (entry + 12 > tiff.size()) break;
        if (tiff.u16(entry) != orientation_tag) continue;
        const std::uint32_t value = tiff.u16(entry + 8);
        return tiff.u16(entry + 2) == short_type && value >= 1 && value <= 8 ? int(value) : 1;
    }
    return 1;
}

RowPlacement place_row(int orientation, int width, int height, int row) {
    // The upright picture is width by height, or height by width when the
    // sides swap; w and h below are the stored picture's.
    const std::ptrdiff_t w = width, h = height, y = row;
    switch (orientation) {
        case 2: return {y * w + w - 1, -1};              // mirrored left to right
        case 3: return {(h - 1 - y) * w + w - 1, -1};    // turned half round
        case 4: return {(h - 1 - y) * w, 1};             // mirrored top to bottom
        case 5: return {y, h};                           // mirrored along the diagonal
        case 6: return {h - 1 - y, h};                   // to be turned a quarter clockwise
        case 7: return {(w - 1) * h + h - 1 - y, -h};    // mirrored along the other diagonal
        case 8: return {(w - 1) * h + y, -h};            // to be turned a quarter anticlockwise
        default: return {y * w, 1};
    }
}

}  // namespace klv

// Pictures read from BMP and PNG files, whole, before any pixel is drawn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "platform/gdi/gdi.h"
#include "platform/gdi/owned_object.h"

namespace klv {

// Pictures larger than this are refused before any memory is taken for them.
constexpr std::int64_t largest_picture_side = 32767;
constexpr std::int64_t largest_picture_pixels = std::int64_t(1) << 27;

// 0, or KLV_ERROR_PICTURE_TOO_LARGE for a size beyond the limits above
// (sides of 0 or less are the caller's to refuse).
int check_picture_size(std::int64_t width, std::int64_t height);

// Where a picture's bytes come from: a file or a buffer.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Reads exactly `count` bytes at `offset`; false when they are not all there.
    virtual bool read(std::uint64_t offset, void* to, std::size_t count) = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    bool read(std::uint64_t offset, void* to, std::size_t count) override;

private:
    std::span<const std::uint8_t> bytes_;
};

using BitmapPointer = gdi::OwnedObject<gdi::Bitmap>;

// A 32-bit bitmap of that size (black), or null when the memory cannot be had.
BitmapPointer new_picture_bitmap(int width, int height);

// Pixels that carry an alpha in their top byte drawn over black: each
// colour times alpha / 255, rounded; the top byte cleared.
void composite_over_black(gdi::Bitmap& bitmap);

// The picture as a 32-bit bitmap, rows top first: 0 and the bitmap, or one of
// KLV_ERROR_NOT_A_PICTURE, _UNSUPPORTED_PICTURE, _DAMAGED_PICTURE,
// _PICTURE_TOO_LARGE, _OUT_OF_MEMORY and no bitmap.
int read_bmp(ByteSource& source, BitmapPointer* picture);
int read_png(ByteSource& source, BitmapPointer* picture);
// Either, by the first bytes.
int read_picture(ByteSource& source, BitmapPointer* picture);

}  // namespace klv

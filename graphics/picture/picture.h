// Pictures read from BMP, PNG and JPEG files, whole, before any pixel is drawn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

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

// Pixels next to each other in one row of a picture: `width` of them from
// (x, y), held from `first` on in Picture::run_pixels.
struct PixelRun {
    int x = 0;
    int y = 0;
    int width = 0;
    std::size_t first = 0;
};

// A picture read whole: a bitmap of every pixel, or, for a file that leaves
// pixels out (a run-length encoded BMP may skip them; the page keeps its own
// pixels there), the runs of pixels it gives.
struct Picture {
    int width = 0;
    int height = 0;
    BitmapPointer bitmap;  // 32-bit, rows top first; null when `runs` hold the pixels
    std::vector<PixelRun> runs;
    std::vector<gdi::Pixel> run_pixels;
};

// A 32-bit bitmap of that size (black), or null when the memory cannot be had.
BitmapPointer new_picture_bitmap(int width, int height);
// The picture that is all of the bitmap.
Picture whole_picture(BitmapPointer bitmap);

// Pixels that carry an alpha in their top byte drawn over black: each
// colour times alpha / 255, rounded; the top byte cleared.
void composite_over_black(gdi::Bitmap& bitmap);

// The picture: 0 and its pixels, or one of KLV_ERROR_NOT_A_PICTURE,
// _UNSUPPORTED_PICTURE, _DAMAGED_PICTURE, _PICTURE_TOO_LARGE, _OUT_OF_MEMORY
// and an empty picture.
int read_bmp(ByteSource& source, Picture* picture);
int read_png(ByteSource& source, Picture* picture);
int read_jpeg(ByteSource& source, Picture* picture);
// Any of them, by the first bytes.
int read_picture(ByteSource& source, Picture* picture);

}  // namespace klv

// Photos taken turned: the EXIF orientation of a JPEG file, and where its
// stored rows go in the upright picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace klv {

// The orientation (1 to 8, as EXIF numbers them) an APP1 segment's EXIF
// data gives: 1 (stored upright) when it has none or cannot be read.
int exif_orientation(std::span<const std::uint8_t> app1);

// Orientations 5 to 8 turn the picture by a quarter: its sides swap.
inline bool swaps_sides(int orientation) { return orientation >= 5 && orientation <= 8; }

// Where the pixels of stored row `row` of a width by height stored picture
// go in the upright picture: pixel x of the row goes to pixel
// start + x * step of the upright picture, counted along its rows, top row
// first.
struct RowPlacement {
    std::ptrdiff_t start = 0;
    std::ptrdiff_t step = 1;
};
RowPlacement place_row(int orientation, int width, int height, int row);

}  // namespace klv

// Packed device-independent bitmaps: one movable block holding the 40-byte
// header, the colour table (for 8 bits per pixel or fewer) and the pixel
// rows, bottom row first, each padded to a multiple of 4 bytes; and the BMP
// file writer.
#pragma once

#include <cstdint>

#include "graphics/export/dib_handle.h"
#include "platform/gdi/dib_bits.h"

namespace klv {

// Results of write_dib_file.
constexpr std::uint16_t dib_written = 0;
constexpr std::uint16_t dib_lock_failed = 3;
constexpr std::uint16_t dib_cannot_write = 4;
constexpr std::uint16_t dib_missing = 20;

// A new packed DIB of the bitmap: 1, 4 or 8 bits per pixel for bitmaps of at
// most that depth, 24 for deeper ones. palette: the colours for 8 bits or
// fewer; null means the default palette. None when there is no bitmap or
// the memory cannot be had. The caller frees it with free_dib.
DibHandle bitmap_to_dib(const gdi::Bitmap* bitmap, const gdi::Palette* palette);

// Writes the DIB as a BMP file. The file appears whole or not at all: the
// bytes go to a temporary file in the same folder, which replaces the named
// file only once everything was written; on any failure an existing file of
// that name is left as it was and no temporary file remains. Returns
// dib_written (0), dib_lock_failed (3), dib_cannot_write (4: the file cannot
// be created or written), or dib_missing (20: no DIB, or a block that does
// not hold the 40-byte header and the data it describes; no file is touched).
std::uint16_t write_dib_file(DibHandle& dib, const char* file_name);

// Releases the block (none: nothing happens). Returns 0.
int free_dib(DibHandle& dib);

// Colour-table entries: the colours-used field when it is not 0, else 2, 16
// or 256 for 1, 4 or 8 bits per pixel, and 0 for any other bit count.
std::uint16_t dib_color_count(const gdi::BitmapInfoHeader& header);
// Bytes of the colour table: dib_color_count times 4.
std::uint16_t dib_palette_size(const gdi::BitmapInfoHeader& header);

}  // namespace klv

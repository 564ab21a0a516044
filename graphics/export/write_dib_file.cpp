// The BMP file of a packed DIB: a 14-byte file header, then the DIB as it is
// (header, colour table, pixel rows).
#include <array>
#include <cstring>

#include "graphics/export/dib.h"
#include "platform/files/whole_file_write.h"

namespace klv {

namespace {

constexpr std::size_t file_header_size = 14;

void put_u16(std::uint8_t* at, std::uint32_t value) {
    at[0] = std::uint8_t(value);
    at[1] = std::uint8_t(value >> 8);
}
void put_u32(std::uint8_t* at, std::uint32_t value) {
    put_u16(at, value);
    put_u16(at + 2, value >> 16);
}

// "BM", file size, two reserved words, offset of the pixel rows.
std::array<std::uint8_t, file_header_size> file_header(std::uint64_t dib_bytes, std::uint32_t pixel_offset) {
    std::array<std::uint8_t, file_header_size> bytes{};
    put_u16(&bytes[0], 0x4D42);
    put_u32(&bytes[2], std::uint32_t(dib_bytes + file_header_size));
    put_u32(&bytes[10], pixel_offset);
    return bytes;
}

// Bytes of the image rows: the header's own figure for run-length encoded
// DIBs, else the row size rule.
std::uint64_t image_bytes(const gdi::BitmapInfoHeader& header) {
    if (header.compression == gdi::BI_RLE8 || header.compression == gdi::BI_RLE4) return header.image_size;
    std::uint64_t rows = std::uint64_t(header.height < 0 ? -std::int64_t(header.height) : header.height);
    return gdi::dib_row_bytes(header.bit_count, header.width) * rows;
}

// The DIB's byte count, or 0 when the block does not hold the 40-byte header
// and everything it describes (the image size must also fit its field).
std::uint64_t checked_dib_bytes(const DibHandle& dib, const gdi::BitmapInfoHeader& header) {
    if (dib.size() < sizeof header || header.size != sizeof header) return 0;
    std::uint64_t image = image_bytes(header);
    std::uint64_t total = sizeof header + dib_palette_size(header) + image;
    if (image > 0xFFFFFFFFu - file_header_size - sizeof header - 0xFFFF || total > dib.size()) return 0;
    return total;
}

}  // namespace

std::uint16_t write_dib_file(DibHandle& dib, const char* file_name) {
    if (!dib) return dib_missing;
    DibLock lock(dib);
    if (lock.data() == nullptr) return dib_lock_failed;
    gdi::BitmapInfoHeader header;
    if (dib.size() >= sizeof header) std::memcpy(&header, lock.data(), sizeof header);
    std::uint64_t dib_bytes = checked_dib_bytes(dib, header);
    if (dib_bytes == 0) return dib_missing;
    if (header.compression != gdi::BI_RLE8 && header.compression != gdi::BI_RLE4) {
        header.image_size = std::uint32_t(image_bytes(header));
        std::memcpy(lock.data(), &header, sizeof header);
    }
    auto prefix = file_header(dib_bytes, std::uint32_t(file_header_size + sizeof header + dib_palette_size(header)));
    bool written = files::write_whole_file(file_name, {prefix, std::span<const std::uint8_t>(lock.data(), dib_bytes)});
    return written ? dib_written : dib_cannot_write;
}

}  // namespace klv

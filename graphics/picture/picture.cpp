#include "graphics/picture/picture.h"

#include <cstring>

#include "graphics/klv.h"

namespace klv {

int check_picture_size(std::int64_t width, std::int64_t height) {
    if (width > largest_picture_side || height > largest_picture_side || width * height > largest_picture_pixels)
        return KLV_ERROR_PICTURE_TOO_LARGE;
    return KLV_OK;
}

bool MemorySource::read(std::uint64_t offset, void* to, std::size_t count) {
    if (offset > bytes_.size() || count > bytes_.size() - offset) return false;
    if (count > 0) std::memcpy(to, bytes_.data() + offset, count);
    return true;
}

BitmapPointer new_picture_bitmap(int width, int height) {
    return BitmapPointer(gdi::create_bitmap(width, height, 1, 32, nullptr));
}

Picture whole_picture(BitmapPointer bitmap) {
    Picture picture;
    picture.width = bitmap->width();
    picture.height = bitmap->height();
    picture.bitmap = std::move(bitmap);
    return picture;
}

void composite_over_black(gdi::Bitmap& bitmap) {
    gdi::Pixel* pixels = bitmap.pixels();
    const std::size_t count = std::size_t(bitmap.width()) * std::size_t(bitmap.height());
    for (std::size_t i = 0; i < count; ++i) {
        const gdi::Pixel p = pixels[i];
        const std::uint32_t a = p >> 24;
        const auto scaled = [a](std::uint32_t c) { return (c * a + 127) / 255; };
        pixels[i] = scaled((p >> 16) & 0xFF) << 16 | scaled((p >> 8) & 0xFF) << 8 | scaled(p & 0xFF);
    }
}

int read_picture(ByteSource& source, Picture* picture) {
    *picture = Picture{};
    std::uint8_t first[8] = {};
    const std::size_t count = std::size_t(std::min<std::uint64_t>(source.size(), sizeof first));
    if (!source.read(0, first, count)) return KLV_ERROR_NOT_A_PICTURE;
    static constexpr std::uint8_t png_signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (count == sizeof first && std::memcmp(first, png_signature, sizeof first) == 0) return read_png(source, picture);
    if (count >= 2 && first[0] == 'B' && first[1] == 'M') return read_bmp(source, picture);
    if (count >= 3 && first[0] == 0xFF && first[1] == 0xD8 && first[2] == 0xFF) return read_jpeg(source, picture);
    return KLV_ERROR_NOT_A_PICTURE;
}

}  // namespace klv

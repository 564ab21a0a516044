// Images grabbed from a page and pasted back: a header of width and height,
// then the pixels as the page stores them (0x00RRGGBB, rows top first).
#include <climits>
#include <cstdint>
#include <cstring>

#include "graphics/draw/drawing_context.h"
#include "graphics/draw/primitives.h"
#include "graphics/errors/error_record.h"

namespace klv {

namespace {

struct ImageHeader {
    std::int32_t width;
    std::int32_t height;
};
constexpr std::int64_t header_bytes = sizeof(ImageHeader);
constexpr std::int64_t largest_pixel_count = (INT_MAX - header_bytes) / 4;

// The bytes of an image of that size; 0 when the size is below 1 or the
// count would not fit in an int.
std::int64_t bytes_for(std::int64_t width, std::int64_t height) {
    if (width < 1 || height < 1 || width > largest_pixel_count || height > largest_pixel_count / width) return 0;
    return header_bytes + 4 * width * height;
}

constexpr std::uint32_t raster_operation[] = {gdi::SRCCOPY, gdi::SRCINVERT, gdi::SRCPAINT, gdi::SRCAND,
                                              gdi::NOTSRCCOPY};

}  // namespace

}  // namespace klv

using namespace klv;

extern "C" int image_bytes(int left, int top, int right, int bottom) {
    return int(bytes_for(std::int64_t(right) - left + 1, std::int64_t(bottom) - top + 1));
}

extern "C" void grab_image(int left, int top, int right, int bottom, void* image) {
    WindowState* state = current_window_state(nullptr);
    if (image == nullptr || image_bytes(left, top, right, bottom) == 0) return record_error(KLV_ERROR_BAD_ARGUMENT);
    const ImageHeader header{right - left + 1, bottom - top + 1};  // both fit: the image does
    std::memcpy(image, &header, sizeof header);
    PageLock lock(state);
    if (!lock.locked()) return;
    gdi::read_image_bits(lock.active_dc(), left, top, header.width, header.height,
                         static_cast<unsigned char*>(image) + header_bytes);
}

extern "C" void paste_image(int x, int y, const void* image, int mode) {
    WindowState* state = current_window_state(nullptr);
    if (image == nullptr || mode < KLV_PASTE_COPY || mode > KLV_PASTE_NOT) return record_error(KLV_ERROR_BAD_ARGUMENT);
    ImageHeader header;
    std::memcpy(&header, image, sizeof header);
    if (bytes_for(header.width, header.height) == 0) return record_error(KLV_ERROR_BAD_IMAGE);
    PageLock lock(state);
    if (!lock.locked()) return;
    gdi::draw_image_bits(lock.active_dc(), x, y, header.width, header.height,
                         static_cast<const unsigned char*>(image) + header_bytes, raster_operation[std::size_t(mode)]);
    lock.refresh(covering_rect(x, y, std::int64_t(x) + header.width - 1, std::int64_t(y) + header.height - 1));
}

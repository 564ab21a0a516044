#include "graphics/export/page_region_save.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

#include "graphics/draw/drawing_context.h"
#include "graphics/export/page_region.h"
#include "graphics/export/dib.h"
#include "graphics/export/png_file.h"
#include "platform/files/whole_file_write.h"
#include "platform/gdi/owned_object.h"

namespace klv {

namespace {

using BitmapCopy = gdi::OwnedObject<gdi::Bitmap>;

// Copies the region into a bitmap of its own. The source position is given
// in the page's logical coordinates, so that the page's viewport origin does
// not shift what is copied.
BitmapCopy copy_region(gdi::DeviceContext* source, const PixelRegion& region) {
    gdi::DeviceContext* memory = gdi::create_compatible_dc(source);
    if (memory == nullptr) return nullptr;
    BitmapCopy bitmap(gdi::create_compatible_bitmap(source, region.width, region.height));
    if (bitmap) {
        gdi::Object* displaced = gdi::select_object(memory, bitmap.get());
        gdi::Point origin{region.left, region.top};
        gdi::device_to_logical(source, &origin, 1);
        gdi::bit_blt(memory, 0, 0, region.width, region.height, source, origin.x, origin.y);
        gdi::select_object(memory, displaced);
    }
    gdi::delete_dc(memory);
    return bitmap;
}

std::uint16_t write_bmp(const gdi::Bitmap* bitmap, const char* file_name) {
    DibHandle dib = bitmap ? bitmap_to_dib(bitmap, nullptr) : DibHandle();
    std::uint16_t code = write_dib_file(dib, file_name);
    free_dib(dib);
    return code;
}

// The same codes as the BMP writer's: 20 when the image cannot be made.
std::uint16_t write_png(const gdi::Bitmap* bitmap, const char* file_name) {
    std::vector<std::uint8_t> bytes;
    if (bitmap == nullptr || !encode_png(*bitmap, &bytes)) return dib_missing;
    return files::write_whole_file(file_name, {bytes}) ? dib_written : dib_cannot_write;
}

}  // namespace

std::uint16_t save_page_region(WindowState& state, const char* file_name, int left, int top, int right,
                               int bottom, bool use_active_page) {
    if (state.width <= 0 || state.height <= 0) return dib_missing;
    std::unique_lock lock(state.mutex, page_lock_wait());
    if (!lock.owns_lock()) return dib_missing;
    gdi::DeviceContext* source = source_page(state, use_active_page);
    if (source == nullptr) return dib_missing;
    BitmapCopy copy = copy_region(source, page_region(state, left, top, right, bottom));
    return is_png_file_name(file_name) ? write_png(copy.get(), file_name) : write_bmp(copy.get(), file_name);
}

}  // namespace klv

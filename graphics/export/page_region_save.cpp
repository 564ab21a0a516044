#include "graphics/export/page_region_save.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <mutex>

#include "graphics/draw/drawing_context.h"
#include "graphics/export/page_region.h"
#include "graphics/export/dib.h"

namespace klv {

namespace {

// Copies the region into a bitmap of its own and converts that. The source
// position is given in the page's logical coordinates, so that the page's
// viewport origin does not shift what is copied.
DibHandle copy_region(gdi::DeviceContext* source, const PixelRegion& region) {
    gdi::DeviceContext* memory = gdi::create_compatible_dc(source);
    if (memory == nullptr) return {};
    DibHandle dib;
    if (gdi::Bitmap* bitmap = gdi::create_compatible_bitmap(source, region.width, region.height)) {
        gdi::Object* displaced = gdi::select_object(memory, bitmap);
        gdi::Point origin{region.left, region.top};
        gdi::device_to_logical(source, &origin, 1);
        gdi::bit_blt(memory, 0, 0, region.width, region.height, source, origin.x, origin.y);
        dib = bitmap_to_dib(bitmap, nullptr);
        gdi::select_object(memory, displaced);
        gdi::delete_object(bitmap);
    }
    gdi::delete_dc(memory);
    return dib;
}

}  // namespace

std::uint16_t save_page_region(WindowState& state, const char* file_name, int left, int top, int right,
                               int bottom, bool use_active_page) {
    if (state.width <= 0 || state.height <= 0) return dib_missing;
    std::unique_lock lock(state.mutex, std::chrono::milliseconds(page_lock_timeout_ms));
    if (!lock.owns_lock()) return dib_missing;
    gdi::DeviceContext* source = source_page(state, use_active_page);
    if (source == nullptr) return dib_missing;
    DibHandle dib = copy_region(source, page_region(state, left, top, right, bottom));
    std::uint16_t code = write_dib_file(dib, file_name);
    lock.unlock();
    free_dib(dib);
    return code;
}

}  // namespace klv

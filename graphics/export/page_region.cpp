#include "graphics/export/page_region.h"

#include <algorithm>
#include <cstdlib>

namespace klv {

namespace {

int clamp_into(int value, int size) { return value < 0 ? 0 : value >= size ? size - 1 : value; }

}  // namespace

PixelRegion page_region(const WindowState& state, int left, int top, int right, int bottom) {
    left = clamp_into(left, state.width);
    right = clamp_into(right, state.width);
    top = clamp_into(top, state.height);
    bottom = clamp_into(bottom, state.height);
    return {std::min(left, right), std::min(top, bottom), std::abs(right - left) + 1, std::abs(bottom - top) + 1};
}

gdi::DeviceContext* source_page(const WindowState& state, bool use_active_page) {
    const int page = use_active_page ? state.active_page : state.visual_page;
    if (state.pages_released || page < 0 || page >= page_count) return nullptr;
    return state.page_dc[std::size_t(page)];
}

}  // namespace klv

// The region of a window's page that the save and print commands copy.
#pragma once

#include "graphics/window/window_state.h"

namespace klv {

// A rectangle of device pixels: first column and row, and its size.
struct PixelRegion {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Corners beyond the page are pulled back to its edge; reversed corners are
// put in order, so the copy never starts outside the page.
PixelRegion page_region(const WindowState& state, int left, int top, int right, int bottom);

// The visual page, or the active page; null once the pages are freed.
gdi::DeviceContext* source_page(const WindowState& state, bool use_active_page);

}  // namespace klv

// SetPixelV and GetPixel: one pixel at a logical point, nothing off the page
// or outside the clip.
#include "platform/gdi/canvas.h"
#include "platform/gdi/gdi.h"

namespace klv::gdi {

void set_pixel(DeviceContext* dc, int x, int y, ColorRef color) {
    if (!dc) return;
    const Canvas canvas = canvas_of(dc);
    const DevicePoint p = to_device(dc, x, y);
    if (!canvas.contains(p.x, p.y)) return;
    Pixel& pixel = canvas.row(p.y)[p.x];
    if (dc->rop2 == R2_XORPEN)
        pixel ^= pixel_from_color(color);
    else
        pixel = pixel_from_color(color);
}

ColorRef get_pixel(const DeviceContext* dc, int x, int y) {
    if (!dc) return CLR_INVALID;
    const Canvas canvas = canvas_of(dc);
    const DevicePoint p = to_device(dc, x, y);
    if (!canvas.contains(p.x, p.y)) return CLR_INVALID;
    return color_from_pixel(canvas.row(p.y)[p.x]);
}

}  // namespace klv::gdi

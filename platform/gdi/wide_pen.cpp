#include "platform/gdi/wide_pen.h"

#include "platform/gdi/thin_line.h"

namespace klv::gdi {

void stroke_wide_path(const Canvas& canvas, Pixel color, const PenDescription&, bool, const DevicePoint* points,
                      std::size_t count, bool closed) {
    for (std::size_t i = 0; i + 1 < count; ++i) paint_thin_line(canvas, color, points[i], points[i + 1], true);
    if (closed && count > 1) paint_thin_line(canvas, color, points[count - 1], points[0], true);
}

}  // namespace klv::gdi

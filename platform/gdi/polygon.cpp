// Polygon: the inside by the context's fill rule (ALTERNATE: odd crossings,
// WINDING: non-zero winding), then the closed outline with the pen. Two
// points have no inside; their outline is the segment there and back.
#include <vector>

#include "platform/gdi/brush_spans.h"
#include "platform/gdi/canvas.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/polygon_fill.h"
#include "platform/gdi/stroke.h"
#include "platform/threads/thread_object.h"

namespace klv::gdi {

void polygon(DeviceContext* dc, const Point* points, int count) {
    if (!dc || !points || count < 2) return;
    Canvas canvas = canvas_of(dc);
    if (canvas.empty()) return;
    struct Device : std::vector<DevicePoint> {};
    Device& device = threads::thread_object<Device>();
    device.resize(std::size_t(count));
    for (int i = 0; i < count; ++i) device[std::size_t(i)] = to_device(dc, points[i].x, points[i].y);
    if (dc->brush) {
        BrushSpans spans(*dc->brush, *dc);
        const FillRule rule = dc->poly_fill_mode == WINDING ? FillRule::winding : FillRule::alternate;
        if (!spans.paints_nothing())
            scan_polygon(canvas, device.data(), device.size(), rule,
                         [&](std::int64_t y, std::int64_t x0, std::int64_t x1) { spans.paint(canvas.row(y), y, x0, x1); });
    }
    stroke_path(*dc, canvas, device.data(), device.size(), true);
}

}  // namespace klv::gdi

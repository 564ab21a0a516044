// FillRect: PatBlt(l, t, r - l, b - t) with the given brush. The left/top
// coordinate is always included and the right/bottom one excluded, even
// when they are given the wrong way round: FillRect(60, 50, 10, 10) fills
// columns 11..60 and rows 11..50.
#include "platform/gdi/brush_spans.h"
#include "platform/gdi/canvas.h"
#include "platform/gdi/gdi.h"

namespace klv::gdi {

namespace {

// The run of a PatBlt extent: start..start+extent-1, or start+extent+1..start.
void patblt_run(std::int64_t start, std::int64_t end, std::int64_t& first, std::int64_t& past) {
    if (end >= start) {
        first = start;
        past = end;
    } else {
        first = end + 1;
        past = start + 1;
    }
}

}  // namespace

void fill_rect(DeviceContext* dc, const Rect& rect, const Brush* brush) {
    if (!dc || !brush) return;
    Canvas canvas = canvas_of(dc);
    if (canvas.empty()) return;
    DevicePoint a = to_device(dc, rect.left, rect.top);
    DevicePoint b = to_device(dc, rect.right, rect.bottom);
    std::int64_t x0, x1, y0, y1;
    patblt_run(a.x, b.x, x0, x1);
    patblt_run(a.y, b.y, y0, y1);
    x0 = std::max(x0, canvas.left);
    x1 = std::min(x1, canvas.right);
    y0 = std::max(y0, canvas.top);
    y1 = std::min(y1, canvas.bottom);
    if (x0 >= x1 || y0 >= y1) return;
    BrushSpans spans(*brush, *dc);
    if (spans.is_solid() && x0 == 0 && x1 == canvas.stride) {  // whole rows: one run
        paint_run(canvas.row(y0), (y1 - y0) * canvas.stride, spans.solid_color());
        return;
    }
    for (std::int64_t y = y0; y < y1; ++y) spans.paint(canvas.row(y), y, x0, x1);
}

}  // namespace klv::gdi

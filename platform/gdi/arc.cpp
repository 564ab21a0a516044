// Arc: Pie's outline without the apex, as an open figure: square caps at
// both ends for wide pens; a thin pen paints the last point only when the
// step into it is sloped, so a whole turn may leave a one-pixel hole just
// before its start.
#include <vector>

#include "platform/gdi/canvas.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/pie_outline.h"
#include "platform/gdi/stroke.h"
#include "platform/threads/thread_object.h"

namespace klv::gdi {

void arc(DeviceContext* dc, int left, int top, int right, int bottom, int x_start, int y_start, int x_end,
         int y_end) {
    if (!dc) return;
    Canvas canvas = canvas_of(dc);
    if (canvas.empty()) return;
    DevicePoint a = to_device(dc, left, top), b = to_device(dc, right, bottom);
    if (!box_in_reach(*dc, canvas, a, b)) return;
    const OutlineArea area = outline_area(*dc, canvas);
    PieOutline outline(a.x, a.y, b.x, b.y, &area);
    struct Vertices : std::vector<DevicePoint> {};
    Vertices& vertices = threads::thread_object<Vertices>();
    outline.arc(to_device(dc, x_start, y_start), to_device(dc, x_end, y_end), vertices);
    stroke_path(*dc, canvas, vertices.data(), vertices.size(), false);
}

}  // namespace klv::gdi

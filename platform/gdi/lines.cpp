// LineTo and Polyline. LineTo draws from the current position and moves it
// to its logical end point; Polyline neither reads nor moves it.
#include <vector>

#include "platform/gdi/canvas.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/stroke.h"

namespace klv::gdi {

void line_to(DeviceContext* dc, int x, int y) {
    if (!dc) return;
    DevicePoint ends[2] = {to_device(dc, dc->position.x, dc->position.y), to_device(dc, x, y)};
    dc->position = {x, y};
    stroke_path(*dc, canvas_of(dc), ends, 2, false);
}

void polyline(DeviceContext* dc, const Point* points, int count) {
    if (!dc || !points || count < 2) return;
    constexpr int kOnStack = 16;
    DevicePoint local[kOnStack];
    std::vector<DevicePoint> heap;
    DevicePoint* device = local;
    if (count > kOnStack) {
        heap.resize(std::size_t(count));
        device = heap.data();
    }
    for (int i = 0; i < count; ++i) device[i] = to_device(dc, points[i].x, points[i].y);
    stroke_path(*dc, canvas_of(dc), device, std::size_t(count), false);
}

}  // namespace klv::gdi

// One-pixel dashed lines: the counter runs along each segment, one count per
// major step on sloped segments and whole runs at a time on axis-aligned
// ones. End points are excluded.
#pragma once

#include "platform/gdi/canvas.h"
#include "platform/gdi/dash_counter.h"

namespace klv::gdi {

void paint_dashed_thin_segment(const Canvas& canvas, Pixel color, DevicePoint a, DevicePoint b,
                               DashCounter& counter);

}  // namespace klv::gdi

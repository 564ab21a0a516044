// The outline of a Pie's ellipse as a counter-clockwise list of pixels, and
// the figure (arc plus apex) between a start and an end point.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/canvas.h"
#include "platform/gdi/ellipse_table.h"

namespace klv::gdi {

class PieOutline {
public:
    // A box in device pixels, either way round; right and bottom exclusive.
    // An empty box, or one larger than kMaxPieSide, has no outline.
    PieOutline(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom);

    PieOutline(const PieOutline&) = delete;
    PieOutline& operator=(const PieOutline&) = delete;

    std::int64_t quadrant_size() const { return n_; }
    // The quadrant table, raw: entry (x, y) lies at (cxR + x, cyT - y) in
    // the upper right quarter. Empty when there is no outline.
    const std::vector<TableEntry>& table() const;
    DevicePoint apex() const { return {cx_right_, cy_bottom_}; }
    DevicePoint pixel(std::int64_t index) const;  // index >= 0
    std::int64_t index_of(DevicePoint point) const;
    // Arc pixels from the start index up to (not including) the end index,
    // a whole turn when they are equal.
    void arc(DevicePoint start, DevicePoint end, std::vector<DevicePoint>& vertices) const;
    // The arc, then the apex.
    void figure(DevicePoint start, DevicePoint end, std::vector<DevicePoint>& vertices) const;

private:
    // The calling thread's table for this size, shared with the next outline
    // of the same size: valid until an outline of another size is made.
    const std::vector<TableEntry>* table_ = nullptr;
    std::int64_t n_ = 0;
    std::int64_t cx_right_ = 0, cx_left_ = 0, cy_top_ = 0, cy_bottom_ = 0;
};

}  // namespace klv::gdi

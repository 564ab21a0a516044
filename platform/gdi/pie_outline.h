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
    DevicePoint pixel(std::int64_t index) const {  // index >= 0
        index %= 4 * n_;
        return in_quarter(int(index / n_), index % n_);
    }
    // Step t (0 .. n-1) of quarter 0 (upper right) to 3 (lower right).
    DevicePoint in_quarter(int quarter, std::int64_t t) const {
        const TableEntry& q = (*table_)[std::size_t(t)];
        const TableEntry& r = (*table_)[std::size_t(n_ - 1 - t)];
        switch (quarter) {
            case 0: return {cx_right_ + q.x, cy_top_ - q.y};
            case 1: return {cx_left_ - r.x, cy_top_ - r.y};
            case 2: return {cx_left_ - q.x, cy_bottom_ + q.y};
            default: return {cx_right_ + r.x, cy_bottom_ + r.y};
        }
    }
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

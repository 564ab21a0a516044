// The outline of a Pie's ellipse as a counter-clockwise list of pixels, and
// the figure (arc plus apex) between a start and an end point.
//
// A box much larger than the part of the page its pixels can reach is not
// listed whole: its points are answered one by one (quadrant_path.h) and
// only the pieces near that part are listed in full; each stretch that lies
// beyond one edge of it becomes one straight segment between its ends, which
// stays beyond that edge. What the pen and the brush paint on the page is
// the same as for the whole list.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/gdi/canvas.h"
#include "platform/gdi/ellipse_table.h"
#include "platform/gdi/quadrant_path.h"

namespace klv::gdi {

// Device pixels, right and bottom exclusive: where an outline's pixels matter.
struct OutlineArea {
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;
    bool every_step = false;  // list whole when a table can: a dashed pen counts every step
};

// Where an outline's pixels matter for dc's pen: the canvas widened by the
// pen's reach. A dashed pen counts every step of the outline: its outlines
// are listed whole up to kMaxTableSide (beyond, the straight segments far
// off the page shift the dashes on it).
OutlineArea outline_area(const DeviceContext& dc, const Canvas& canvas);

// For tests, on the calling thread: every box up to kMaxTableSide listed
// whole, the reference that the pieces near the page are checked against.
void list_outlines_whole(bool whole);

class PieOutline {
public:
    // A box in device pixels, either way round; right and bottom exclusive.
    // An empty box, or one larger than kMaxOutlineSide, has no outline. With
    // an area, a box much larger than it lists only what lies near it.
    PieOutline(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
               const OutlineArea* area = nullptr);

    PieOutline(const PieOutline&) = delete;
    PieOutline& operator=(const PieOutline&) = delete;

    std::int64_t quadrant_size() const { return n_; }
    bool sparse() const { return path_.has_value(); }
    const QuadrantPath* path() const { return path_ ? &*path_ : nullptr; }
    DevicePoint apex() const { return {cx_right_, cy_bottom_}; }
    DevicePoint pixel(std::int64_t index) const {  // index >= 0
        index %= 4 * n_;
        return in_quarter(int(index / n_), index % n_);
    }
    // Step t (0 .. n-1) of quarter 0 (upper right) to 3 (lower right).
    DevicePoint in_quarter(int quarter, std::int64_t t) const {
        const TableEntry q = entry(t), r = entry(n_ - 1 - t);
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
    // The whole turn from index 0, each point that repeats the one before
    // it left out (Ellipse's closed outline).
    void closed_outline(std::vector<DevicePoint>& vertices) const;

private:
    TableEntry entry(std::int64_t t) const { return path_ ? path_->entry(t) : (*table_)[std::size_t(t)]; }
    void indices(std::int64_t first, std::int64_t past, std::vector<DevicePoint>& vertices) const;
    void quarter_near(int quarter, std::int64_t first, std::int64_t past, std::vector<DevicePoint>& vertices) const;

    // The calling thread's table for this size, shared with the next outline
    // of the same size: valid until an outline of another size is made.
    const std::vector<TableEntry>* table_ = nullptr;
    std::optional<QuadrantPath> path_;
    OutlineArea area_;
    std::int64_t n_ = 0;
    std::int64_t cx_right_ = 0, cx_left_ = 0, cy_top_ = 0, cy_bottom_ = 0;
};

}  // namespace klv::gdi

// The quadrant table of a Pie's outline: an integer ellipse recurrence in
// the style of A. Zingl's rectangle-ellipse algorithm, run over one quarter,
// from (rx, 0) toward (0, ry) with rx = W-1-floor(W/2), ry = H-1-floor(H/2).
// Very narrow boxes stop early and are not corrected (W=3, H=20 ends at
// (0, 7)), so their tips are cut flat, as GDI's are.
#pragma once

#include <cstdint>
#include <vector>

namespace klv::gdi {

struct TableEntry {
    std::int64_t x = 0;
    std::int64_t y = 0;
    friend bool operator==(const TableEntry&, const TableEntry&) = default;
};

// Boxes wider or taller than this are not drawn (the recurrence's values
// stay far inside 128 bits up to it).
constexpr std::int64_t kMaxOutlineSide = std::int64_t(1) << 30;
// Boxes up to this size may be listed whole (as a table, kept per thread).
constexpr std::int64_t kMaxTableSide = std::int64_t(1) << 16;

// The table for a box of width w and height h (both 1 .. kMaxTableSide).
void build_quadrant_table(std::int64_t w, std::int64_t h, std::vector<TableEntry>& table);

}  // namespace klv::gdi

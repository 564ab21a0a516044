// The quadrant table's recurrence (ellipse_table.h) answered point by point,
// for boxes too large to walk: after i steps to the left and j steps up the
// recurrence's decision variable is e = F(i + 1, j + 1), where
//   F(i, j) = b^2 (a - 2i)^2 + a^2 (b % 2 + 2j)^2 - a^2 b^2,  a = W-1, b = H-1,
// and from (i, j) it steps left when F(i, j+1) + F(i+1, j+1) >= 0 and up when
// F(i+1, j) + F(i+1, j+1) <= 0. Both sums are monotone along a row or a
// column, so the first point where one of them changes sign is found by
// bisection. Near 3 o'clock every step goes up (one point a row: the first
// column whose left step would not be taken); past the split, the first step
// that only goes left, every step goes left (one point a column: the first
// row whose up step would not be taken). Only the few rows around the split
// are walked, from a row well before it.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/ellipse_table.h"

namespace klv::gdi {

class QuadrantPath {
public:
    // A box of width w and height h, both 1 .. kMaxOutlineSide.
    QuadrantPath(std::int64_t w, std::int64_t h);

    std::int64_t size() const { return n_; }
    // Table entry t (0 .. size()-1), as build_quadrant_table makes it.
    TableEntry entry(std::int64_t t) const;
    // The first entry whose x is at most x (x falls along the table), or size().
    std::int64_t first_with_x_at_most(std::int64_t x) const;
    // The first entry whose y is at least y (y grows along the table), or size().
    std::int64_t first_with_y_at_least(std::int64_t y) const;

private:
    using Wide = __int128;
    Wide f(std::int64_t i, std::int64_t j) const;
    bool steps_left(std::int64_t i, std::int64_t j) const { return f(i, j + 1) + f(i + 1, j + 1) >= 0; }
    bool steps_up(std::int64_t i, std::int64_t j) const { return f(i + 1, j) + f(i + 1, j + 1) <= 0; }
    // The first column of row r whose left step would not be taken (capped past the quadrant).
    std::int64_t first_column_staying(std::int64_t r) const;
    // The first row of column c whose up step would not be taken.
    std::int64_t first_row_staying(std::int64_t c) const;
    std::int64_t steep_column(std::int64_t r) const;   // rows 0 .. split_row_
    std::int64_t shallow_row(std::int64_t c) const;    // columns past split_column_
    void walk_to_split(std::int64_t from_row);

    Wide a_ = 0, b_ = 0, odd_ = 0;
    std::int64_t h_ = 0, last_column_ = 0;  // columns 0 .. last_column_ are in the table
    std::int64_t walk_row_ = 0;             // rows from here to the split were walked
    std::vector<std::int64_t> walked_;      // their columns
    std::int64_t split_row_ = 0, split_column_ = 0;
    bool has_split_ = false;
    std::int64_t n_ = 0;
};

}  // namespace klv::gdi

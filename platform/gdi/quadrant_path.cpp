#include "platform/gdi/quadrant_path.h"

#include <algorithm>

namespace klv::gdi {

namespace {

// The first value in [lo, hi) where the monotone predicate holds, or hi.
template <typename Predicate>
std::int64_t first_where(std::int64_t lo, std::int64_t hi, Predicate&& holds) {
    while (lo < hi) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        if (holds(mid))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

}  // namespace

QuadrantPath::QuadrantPath(std::int64_t w, std::int64_t h)
    : a_(w - 1), b_(h - 1), odd_((h - 1) % 2), h_(h), last_column_((w - 1) - w / 2) {
    // Past row (b - b%2)/2 every left step is taken: the quadrant has ended.
    const std::int64_t rows = (h - 1) / 2 + 2;
    const std::int64_t end_row = first_where(1, rows, [&](std::int64_t r) { return first_column_staying(r) > last_column_; });
    // The outline's slope passes 1 about where a^2 Y meets b^2 X; the split
    // follows within a few hundred rows at the largest sizes.
    const std::int64_t diagonal_row = first_where(0, end_row, [&](std::int64_t r) {
        const Wide x = a_ - 2 * Wide(first_column_staying(r)), y = odd_ + 2 * Wide(r);
        return a_ * a_ * y >= b_ * b_ * x;
    });
    walk_to_split(std::max<std::int64_t>(0, diagonal_row - 4));
}

QuadrantPath::Wide QuadrantPath::f(std::int64_t i, std::int64_t j) const {
    const Wide x = a_ - 2 * Wide(i), y = odd_ + 2 * Wide(j);
    return b_ * b_ * x * x + a_ * a_ * (y * y - b_ * b_);
}

std::int64_t QuadrantPath::first_column_staying(std::int64_t r) const {
    return first_where(0, last_column_ + 1, [&](std::int64_t i) { return f(i, r) + f(i + 1, r) < 0; });
}

std::int64_t QuadrantPath::first_row_staying(std::int64_t c) const {
    return first_where(0, h_ + 2, [&](std::int64_t j) { return f(c, j) + f(c, j + 1) > 0; });
}

// Every step before the split goes up, so the path holds one point a row
// and the step count is the row; the walk ends at the first step that only
// goes left, or where the quadrant ends.
void QuadrantPath::walk_to_split(std::int64_t from_row) {
    walk_row_ = from_row;
    std::int64_t i = from_row == 0 ? 0 : first_column_staying(from_row), j = from_row;
    for (;;) {
        walked_.push_back(i);
        const bool left = steps_left(i, j), up = steps_up(i, j);
        if (left && !up) {
            has_split_ = true;
            split_row_ = j;
            split_column_ = i;
            n_ = j + (last_column_ + 1 - i);
            return;
        }
        i += left ? 1 : 0;
        j += up ? 1 : 0;
        if (i > last_column_) {
            split_row_ = j - 1;
            n_ = j;
            return;
        }
    }
}

std::int64_t QuadrantPath::steep_column(std::int64_t r) const {
    if (r >= walk_row_) return walked_[std::size_t(r - walk_row_)];
    return r == 0 ? 0 : first_column_staying(r);
}

// One point a column: the first row whose up step would not be taken. (The
// recurrence's own rule is row(c) = row(c-1) + [row(c-1) < that row]; the
// only columns where that row jumps by two are those of the split, which is
// walked.)
std::int64_t QuadrantPath::shallow_row(std::int64_t c) const { return first_row_staying(c); }

TableEntry QuadrantPath::entry(std::int64_t t) const {
    if (!has_split_ || t <= split_row_) return {last_column_ - steep_column(t), t};
    const std::int64_t c = split_column_ + (t - split_row_);
    return {last_column_ - c, shallow_row(c)};
}

std::int64_t QuadrantPath::first_with_x_at_most(std::int64_t x) const {
    const std::int64_t column = last_column_ - x;
    if (column <= 0) return 0;
    if (column > last_column_) return n_;
    const std::int64_t steep_rows = has_split_ ? split_row_ + 1 : n_;
    if (steep_column(steep_rows - 1) >= column)
        return first_where(0, steep_rows, [&](std::int64_t r) { return steep_column(r) >= column; });
    return has_split_ ? split_row_ + (column - split_column_) : n_;
}

std::int64_t QuadrantPath::first_with_y_at_least(std::int64_t y) const {
    if (y <= 0) return 0;
    const std::int64_t steep_rows = has_split_ ? split_row_ + 1 : n_;
    if (y < steep_rows) return y;
    if (!has_split_) return n_;
    // shallow_row(c) >= y exactly when the up step from row y - 1 of column c is taken.
    const std::int64_t c = first_where(split_column_ + 1, last_column_ + 1,
                                       [&](std::int64_t column) { return f(column, y - 1) + f(column, y) <= 0; });
    return split_row_ + (c - split_column_);
}

}  // namespace klv::gdi

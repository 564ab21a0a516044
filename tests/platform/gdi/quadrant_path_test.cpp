// The quadrant table answered point by point must be the recurrence's own
// table, entry for entry, for every box: small ones all, narrow and large
// ones sampled (the split between one point a row and one point a column,
// the early end of narrow boxes, the last column of odd widths).
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/gdi/ellipse_table.h"
#include "platform/gdi/quadrant_path.h"

namespace klv::test {
namespace {

using gdi::TableEntry;

// Every stride-th entry, and both searches at its x and y (and one past
// each end).
::testing::AssertionResult same_as_recurrence(std::int64_t w, std::int64_t h, std::int64_t stride = 1) {
    std::vector<TableEntry> table;
    gdi::build_quadrant_table(w, h, table);
    const gdi::QuadrantPath path(w, h);
    const auto box = [&] { return ::testing::AssertionFailure() << w << " x " << h << ": "; };
    if (path.size() != std::int64_t(table.size())) return box() << "size " << path.size() << ", table " << table.size();
    for (std::size_t t = 0; t < table.size(); t += std::size_t(stride)) {
        const TableEntry e = path.entry(std::int64_t(t));
        if (!(e == table[t])) return box() << "entry " << t << " is (" << e.x << ", " << e.y << ")";
    }
    const std::int64_t n = std::int64_t(table.size());
    for (std::int64_t t = 0; t <= n; t += stride) {
        // The first entry at or past each entry's own coordinates.
        const std::int64_t x = t < n ? table[std::size_t(t)].x : -1, y = t < n ? table[std::size_t(t)].y : table.back().y + 1;
        const std::int64_t want_x =
            std::partition_point(table.begin(), table.end(), [&](const TableEntry& e) { return e.x > x; }) - table.begin();
        const std::int64_t want_y =
            std::partition_point(table.begin(), table.end(), [&](const TableEntry& e) { return e.y < y; }) - table.begin();
        if (path.first_with_x_at_most(x) != want_x) return box() << "first x <= " << x << ": " << path.first_with_x_at_most(x);
        if (path.first_with_y_at_least(y) != want_y) return box() << "first y >= " << y << ": " << path.first_with_y_at_least(y);
    }
    return ::testing::AssertionSuccess();
}

TEST(QuadrantPath, EveryBoxUpTo90) {
    for (std::int64_t w = 1; w <= 90; ++w)
        for (std::int64_t h = 1; h <= 90; ++h) ASSERT_TRUE(same_as_recurrence(w, h));
}

TEST(QuadrantPath, NarrowAndFlatBoxes) {
    for (std::int64_t thin = 1; thin <= 12; ++thin)
        for (std::int64_t length : {100, 101, 1000, 4097, 65536, 65537, 800001})
            ASSERT_TRUE(same_as_recurrence(thin, length, 97)) << "tall";
    for (std::int64_t thin = 1; thin <= 12; ++thin)
        for (std::int64_t length : {100, 1001, 65536, 800000}) ASSERT_TRUE(same_as_recurrence(length, thin, 97)) << "flat";
}

TEST(QuadrantPath, LargeBoxes) {
    for (std::int64_t side : {400000, 400001, 800000, 800001, 131072, 916000})
        ASSERT_TRUE(same_as_recurrence(side, side, 997));
    std::mt19937_64 random(24);
    for (int k = 0; k < 40; ++k) {
        const std::int64_t w = 3 + std::int64_t(random() % 900000), h = 3 + std::int64_t(random() % 900000);
        ASSERT_TRUE(same_as_recurrence(w, h, 1009));
    }
    for (int k = 0; k < 300; ++k) {
        const std::int64_t w = 3 + std::int64_t(random() % 3000), h = 3 + std::int64_t(random() % 3000);
        ASSERT_TRUE(same_as_recurrence(w, h, 7));
    }
}

}  // namespace
}  // namespace klv::test

// The flood fill's vector scan against the pixel-by-pixel rule: wherever
// the first unlike pixel falls within or across the vector steps, and
// whatever the top 8 bits hold.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/colour_runs.h"

namespace klv::test {
namespace {

using gdi::Pixel;

TEST(ColourRuns, EndAtTheFirstUnlikePixelAndPaintOnlyTheRun) {
    constexpr Pixel colour = 0x123456, other = 0x123457;
    constexpr int length = 53;  // three whole steps and a tail
    for (const bool equal_run : {true, false}) {
        const Pixel alike = equal_run ? colour : other, unlike = equal_run ? other : colour;
        for (int stop = 0; stop <= length; ++stop) {
            std::vector<Pixel> row(length);
            for (int x = 0; x < length; ++x) row[std::size_t(x)] = (x == stop ? unlike : alike) | Pixel(0x80 + x) << 24;
            const std::vector<Pixel> before = row;
            EXPECT_EQ(gdi::colour_run_end(row.data(), 0, length, colour, equal_run), stop) << stop;
            EXPECT_EQ(gdi::colour_run_end(row.data(), stop / 2, stop, colour, equal_run), stop) << stop;
            EXPECT_EQ(gdi::colour_run_end_painting(row.data(), 0, length, colour, equal_run, 0xABCDEF), stop);
            for (int x = 0; x < length; ++x)
                EXPECT_EQ(row[std::size_t(x)], x < stop ? 0xABCDEF : before[std::size_t(x)]) << stop << ":" << x;
        }
    }
}

}  // namespace
}  // namespace klv::test

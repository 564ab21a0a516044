// What a polygon paints of a canvas, told without scanning it: "all" and
// "none" must be exactly what the scan paints, for any quadrilateral
// (crossed ones too) near and around the canvas.
#include <gtest/gtest.h>

#include <random>

#include "platform/gdi/polygon_fill.h"

namespace klv::test {
namespace {

using namespace klv::gdi;

TEST(PolygonReach, AllAndNoneAreWhatTheScanPaints) {
    std::vector<Pixel> pixels(40 * 30);
    Canvas canvas;
    canvas.pixels = pixels.data();
    canvas.stride = 40;
    canvas.left = 10, canvas.top = 5, canvas.right = 30, canvas.bottom = 25;
    std::mt19937 random(7);
    int told[3] = {0, 0, 0};
    for (int n = 0; n < 20000; ++n) {
        const std::int64_t spread = n % 2 ? 60 : 4000;
        DevicePoint quad[4];
        for (DevicePoint& p : quad)
            p = {std::int64_t(random() % (2 * spread)) - spread + 20, std::int64_t(random() % (2 * spread)) - spread + 15};
        for (FillRule rule : {FillRule::alternate, FillRule::winding}) {
            long painted = 0;
            scan_polygon(canvas, quad, 4, rule, [&](std::int64_t, std::int64_t x0, std::int64_t x1) { painted += x1 - x0; });
            const Reach reach = polygon_reach(canvas, quad, 4, rule);
            ++told[int(reach)];
            if (reach == Reach::all) {
                ASSERT_EQ(painted, 20 * 20) << n;
            }
            if (reach == Reach::none) {
                ASSERT_EQ(painted, 0) << n;
            }
        }
    }
    EXPECT_GT(told[int(Reach::all)], 100);
    EXPECT_GT(told[int(Reach::none)], 100);
}

}  // namespace
}  // namespace klv::test

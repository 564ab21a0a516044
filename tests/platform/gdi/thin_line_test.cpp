// One-pixel lines: the tie rule, which pens paint the end point, clipping.
#include <gtest/gtest.h>

#include "test_page.h"

namespace klv::test {
namespace {

using gdi::Point;

PointSet line_pixels(int x1, int y1, int x2, int y2, bool geometric, int ox = 0, int oy = 0) {
    TestPage page(40, 40);
    page.solid_pen(0xFFFFFF, geometric);
    draw_line(page.dc(), x1 + ox, y1 + oy, x2 + ox, y2 + oy);
    PointSet shifted;
    for (auto [x, y] : page.painted()) shifted.insert({x - ox, y - oy});
    return shifted;
}

TEST(ThinLine, WorkedExamplesOfTheTieRule) {
    EXPECT_EQ(line_pixels(0, 0, 5, 2, false), (PointSet{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}));
    EXPECT_EQ(line_pixels(5, 2, 0, 0, false), (PointSet{{5, 2}, {4, 2}, {3, 1}, {2, 1}, {1, 0}}));
    EXPECT_EQ(line_pixels(0, 0, 2, 5, false), (PointSet{{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}}));
    EXPECT_EQ(line_pixels(0, 0, 4, 2, false), (PointSet{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    EXPECT_EQ(line_pixels(4, 2, 0, 0, false), (PointSet{{4, 2}, {3, 1}, {2, 1}, {1, 0}}));
    EXPECT_TRUE(line_pixels(3, 3, 3, 3, false).empty());
    EXPECT_TRUE(line_pixels(3, 3, 3, 3, true).empty());
}

TEST(ThinLine, GeometricPenAddsTheEndPointOfSlopedLinesOnly) {
    PointSet cosmetic = line_pixels(0, 0, 5, 2, false);
    cosmetic.insert({5, 2});
    EXPECT_EQ(line_pixels(0, 0, 5, 2, true), cosmetic);
    EXPECT_EQ(line_pixels(2, 3, 7, 3, true), (PointSet{{2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}}));
    EXPECT_EQ(line_pixels(7, 3, 2, 3, true), (PointSet{{7, 3}, {6, 3}, {5, 3}, {4, 3}, {3, 3}}));
    EXPECT_EQ(line_pixels(4, 6, 4, 3, false), (PointSet{{4, 6}, {4, 5}, {4, 4}}));
}

TEST(ThinLine, TieInEachOctantPicksTheDocumentedSecondPixel) {
    struct Case {
        int x, y, second_x, second_y;
    };
    const Case cases[] = {{24, 22, 21, 20}, {22, 24, 20, 21}, {18, 24, 19, 21}, {16, 22, 19, 20},
                          {16, 18, 19, 19}, {18, 16, 19, 19}, {22, 16, 20, 19}, {24, 18, 21, 19}};
    for (const Case& c : cases) {
        PointSet pixels = line_pixels(20, 20, c.x, c.y, false);
        EXPECT_TRUE(pixels.count({c.second_x, c.second_y})) << "to (" << c.x << "," << c.y << ")";
        EXPECT_EQ(pixels.size(), 4u);
    }
}

TEST(ThinLine, ClippingOnlyDiscardsPixelsOfTheWholeWalk) {
    // The same line drawn with the page shifted under it: the visible pixels
    // are those of the unclipped line.
    TestPage big(200, 200), small(40, 40);
    big.solid_pen(0xFFFFFF);
    small.solid_pen(0xFFFFFF);
    draw_line(big.dc(), 3, 7, 190, 61);
    gdi::set_viewport_origin(small.dc(), -50, -20, nullptr);
    draw_line(small.dc(), 3, 7, 190, 61);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(small.at(x, y), big.at(x + 50, y + 20)) << x << "," << y;
}

TEST(ThinLine, ClipRegionCutsTheLineAndIsInDevicePixels) {
    TestPage page(40, 40);
    page.solid_pen(0xFFFFFF);
    gdi::Region* clip = gdi::create_rect_region(15, 5, 5, 15);  // given reversed
    gdi::select_clip_region(page.dc(), clip);
    gdi::delete_object(clip);
    gdi::set_viewport_origin(page.dc(), 2, 2, nullptr);
    draw_line(page.dc(), -2, -2, 30, 30);
    PointSet expected;
    for (int i = 5; i < 15; ++i) expected.insert({i, i});
    EXPECT_EQ(page.painted(), expected);
}

TEST(ThinLine, LineToMovesTheCurrentPositionPolylineDoesNot) {
    TestPage page(20, 20);
    Point old;
    gdi::move_to(page.dc(), 1, 2, &old);
    gdi::line_to(page.dc(), 5, 6);
    EXPECT_EQ(page.dc()->position, (Point{5, 6}));
    Point corners[3] = {{0, 0}, {9, 0}, {9, 9}};
    gdi::polyline(page.dc(), corners, 3);
    EXPECT_EQ(page.dc()->position, (Point{5, 6}));
}

TEST(ThinLine, ClosedRectangleOutlineCoversBothEdges) {
    TestPage page(20, 20);
    page.solid_pen(0xFFFFFF, true);
    Point corners[5] = {{2, 3}, {8, 3}, {8, 7}, {2, 7}, {2, 3}};
    gdi::polyline(page.dc(), corners, 5);
    PointSet expected;
    for (int x = 2; x <= 8; ++x) expected.insert({x, 3}), expected.insert({x, 7});
    for (int y = 3; y <= 7; ++y) expected.insert({2, y}), expected.insert({8, y});
    EXPECT_EQ(page.painted(), expected);
}

}  // namespace
}  // namespace klv::test

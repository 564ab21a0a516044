// Dashed one-pixel pens and wide geometric pens: the worked examples.
#include <gtest/gtest.h>

#include "platform/gdi/dash_counter.h"
#include "test_page.h"

namespace klv::test {
namespace {

using namespace klv::gdi;

std::string walk(std::vector<std::uint32_t> entries, int pixels) {
    DashCounter counter(entries);
    std::string text;
    for (int i = 0; i < pixels; ++i) {
        text += counter.on() ? '#' : '.';
        counter.advance(1);
    }
    return text;
}

TEST(DashCounter, OddListsSwapOnAndOffOnTheSecondPass) {
    EXPECT_EQ(walk({3}, 12), "###...###...");
    EXPECT_EQ(walk({2, 1, 1}, 16), "##.#..#.##.#..#.");
    EXPECT_EQ(walk({3, 0}, 10), "###.##.##.");  // the zero entry takes a pixel on a sloped walk
}

TEST(DashCounter, PensWithoutGapsAreSolid) {
    EXPECT_TRUE(DashCounter::has_no_gaps({16, 0}));
    EXPECT_TRUE(DashCounter::has_no_gaps({15, 0, 4, 0}));
    EXPECT_FALSE(DashCounter::has_no_gaps({16, 1}));
    EXPECT_FALSE(DashCounter::has_no_gaps({16}));  // acts as {16, 16}
    EXPECT_FALSE(DashCounter::has_no_gaps({0, 16}));
}

TEST(ThinDashes, CounterRestartsForEachLineToButRunsOnAlongAPolyline) {
    TestPage page(16, 1);
    page.dashed_pen({3, 2});
    move_to(page.dc(), 0, 0, nullptr);
    line_to(page.dc(), 7, 0);
    line_to(page.dc(), 14, 0);
    EXPECT_EQ(page.row(0, 0, 14), "###..#####..##\n");
    page.clear();
    Point points[3] = {{0, 0}, {7, 0}, {14, 0}};
    polyline(page.dc(), points, 3);
    EXPECT_EQ(page.row(0, 0, 14), "###..###..###.\n");
}

TEST(ThinDashes, SolidStyleDrawsWithoutHoles) {
    TestPage page(60, 60);
    page.dashed_pen({16, 0});
    draw_line(page.dc(), 0, 0, 50, 50);
    for (int i = 0; i <= 50; ++i) EXPECT_EQ(page.at(i, i), 0xFFFFFFu) << i;
}

TEST(ThinDashes, SlopedRunsCountMajorSteps) {
    TestPage page(20, 20);
    page.dashed_pen({2, 1});
    draw_line(page.dc(), 0, 0, 9, 9);
    std::string diagonal;
    for (int i = 0; i < 10; ++i) diagonal += page.at(i, i) ? '#' : '.';
    EXPECT_EQ(diagonal, "##.##.##..");  // end point excluded
}

TEST(WidePens, AxisAlignedSegmentsWithSquareCaps) {
    TestPage page(30, 8);
    page.solid_pen(0xFFFFFF, true, 3);
    draw_line(page.dc(), 4, 2, 10, 2);
    EXPECT_EQ(page.rows(0, 5, 0, 12), "............\n...########.\n...########.\n...########.\n............\n");
    page.clear();
    draw_line(page.dc(), 10, 2, 4, 2);
    EXPECT_EQ(page.rows(0, 5, 0, 12), "............\n...########.\n...########.\n...########.\n............\n");
    page.clear();
    page.solid_pen(0xFFFFFF, true, 4);
    draw_line(page.dc(), 16, 2, 22, 2);
    EXPECT_EQ(page.rows(0, 5, 12, 26), "..##########..\n..##########..\n..##########..\n..##########..\n..............\n");
}

TEST(WidePens, BevelJoinCutsTheOuterCorner) {
    TestPage page(14, 10);
    page.solid_pen(0xFFFFFF, true, 3);
    Point points[3] = {{2, 2}, {10, 2}, {10, 8}};
    polyline(page.dc(), points, 3);
    EXPECT_EQ(page.row(1, 0, 13), ".#########...\n");
    EXPECT_EQ(page.row(2, 0, 13), ".###########.\n");
    EXPECT_EQ(page.row(3, 0, 13), ".###########.\n");
    for (int y = 4; y <= 8; ++y) EXPECT_EQ(page.row(y, 0, 13), ".........###.\n") << y;
}

TEST(WidePens, SlopedSegmentIsTheCappedQuadrilateral) {
    // w=3, (2,2)-(10,6): corners A(0,2) B(2,-1) C(13,5) D(11,8).
    TestPage page(16, 10);
    page.solid_pen(0xFFFFFF, true, 3);
    draw_line(page.dc(), 2, 2, 10, 6);
    EXPECT_EQ(page.at(0, 2), 0xFFFFFFu);    // A: a left edge is in
    EXPECT_EQ(page.at(2, 0), 0xFFFFFFu);
    EXPECT_EQ(page.at(12, 5), 0xFFFFFFu);
    EXPECT_EQ(page.at(13, 5), 0u);          // C: a right edge is out
    EXPECT_EQ(page.at(11, 8), 0u);          // D: the bottom row is out
    EXPECT_EQ(page.at(11, 7), 0xFFFFFFu);
}

TEST(WidePens, DashesMeasuredAlongTheFigureAreNotScaled) {
    TestPage page(24, 5);
    page.dashed_pen({4, 3}, 3);
    draw_line(page.dc(), 2, 2, 20, 2);
    for (int y = 1; y <= 3; ++y) EXPECT_EQ(page.row(y, 0, 22), ".######.######.######.\n") << y;
    EXPECT_EQ(page.row(0), std::string(24, '.') + "\n");
}

}  // namespace
}  // namespace klv::test

// The Pie: quadrant table, point-to-index rule, the figure and its paint.
#include <gtest/gtest.h>

#include "platform/gdi/ellipse_table.h"
#include "platform/gdi/pie_outline.h"
#include "test_page.h"

namespace klv::test {
namespace {

using gdi::TableEntry;

std::vector<TableEntry> table(int w, int h) {
    std::vector<TableEntry> t;
    gdi::build_quadrant_table(w, h, t);
    return t;
}

TEST(PieTable, MatchesTheTestVectors) {
    using T = std::vector<TableEntry>;
    EXPECT_EQ(table(1, 1), (T{{0, 0}}));
    EXPECT_EQ(table(2, 2), (T{{0, 0}}));
    EXPECT_EQ(table(3, 3), (T{{1, 0}, {0, 1}}));
    EXPECT_EQ(table(4, 4), (T{{1, 0}, {0, 1}}));
    EXPECT_EQ(table(5, 5), (T{{2, 0}, {2, 1}, {1, 2}, {0, 2}}));
    EXPECT_EQ(table(6, 6), (T{{2, 0}, {1, 1}, {0, 2}}));
    EXPECT_EQ(table(7, 7), (T{{3, 0}, {3, 1}, {2, 2}, {1, 3}, {0, 3}}));
    EXPECT_EQ(table(8, 8), table(7, 7));
    EXPECT_EQ(table(9, 9), (T{{4, 0}, {4, 1}, {3, 2}, {3, 3}, {2, 3}, {1, 4}, {0, 4}}));
    EXPECT_EQ(table(10, 10), (T{{4, 0}, {4, 1}, {3, 2}, {2, 3}, {1, 4}, {0, 4}}));
    T big = table(200, 200);
    ASSERT_EQ(big.size(), 141u);
    EXPECT_EQ((T{big[0], big[1], big[2]}), (T{{99, 0}, {99, 1}, {99, 2}}));
    EXPECT_EQ((T{big[138], big[139], big[140]}), (T{{2, 99}, {1, 99}, {0, 99}}));
    EXPECT_EQ(table(3, 20).back(), (TableEntry{0, 7}));  // narrow boxes stop early
}

TEST(PieOutline, DemoSliceIndicesAndArcEnds) {
    gdi::PieOutline outline(219, 139, 419, 339);
    ASSERT_EQ(outline.quadrant_size(), 141);
    EXPECT_EQ(outline.apex(), (gdi::DevicePoint{319, 239}));
    EXPECT_EQ(outline.index_of({419, 239}), 0);
    EXPECT_EQ(outline.pixel(0), (gdi::DevicePoint{418, 238}));
    EXPECT_EQ(outline.index_of({344, 143}), 115);
    EXPECT_EQ(outline.pixel(114), (gdi::DevicePoint{345, 143}));
    EXPECT_EQ(gdi::PieOutline(8, 8, 0, 0).index_of({4, 0}), gdi::PieOutline(0, 0, 8, 8).index_of({4, 0}));
}

TEST(Pie, WorkedExampleEightByEight) {
    TestPage page(8, 5);
    page.solid_pen(0xFFFFFF, true);
    page.use_brush(gdi::create_solid_brush(0x00FF00));
    gdi::pie(page.dc(), 0, 0, 8, 8, 8, 4, 4, 0);
    EXPECT_EQ(page.rows(0, 5), ".....#..\n.....##.\n....#oo#\n....#o##\n....##..\n");
    page.clear();
    page.solid_pen(0xFFFFFF, false);  // the cosmetic pen gives the same pixels
    gdi::pie(page.dc(), 8, 8, 0, 0, 8, 4, 4, 0);
    EXPECT_EQ(page.rows(0, 5), ".....#..\n.....##.\n....#oo#\n....#o##\n....##..\n");
}

TEST(Pie, DemoSliceRadialsAndTopRows) {
    TestPage page(640, 480);
    page.solid_pen(0xFFFFFF, true);
    page.use_brush(gdi::create_solid_brush(0x00FF00));
    gdi::pie(page.dc(), 219, 139, 419, 339, 419, 239, 344, 143);
    for (int x = 319; x <= 368; ++x) EXPECT_EQ(page.at(x, 239), 0xFFFFFFu) << x;
    for (int x = 369; x <= 418; ++x) EXPECT_EQ(page.at(x, 238), 0xFFFFFFu) << x;
    EXPECT_EQ(page.row(143, 340, 352), ".....####...\n");
    EXPECT_EQ(page.row(144, 340, 351), ".....#ooo##\n");
    EXPECT_EQ(page.at(344, 146), 0xFFFFFFu);
    EXPECT_EQ(page.at(320, 237), 0xFFFFFFu);
}

TEST(Pie, SmallAndDegenerateBoxes) {
    TestPage page(20, 20);
    page.solid_pen(0xFFFFFF, true);
    page.use_brush(gdi::create_solid_brush(0x00FF00));
    gdi::pie(page.dc(), 5, 5, 6, 6, 6, 5, 6, 5);  // 1 by 1: nothing
    gdi::pie(page.dc(), 5, 5, 5, 9, 6, 5, 6, 5);  // empty box: nothing
    EXPECT_TRUE(page.painted().empty());
    gdi::pie(page.dc(), 5, 5, 7, 7, 7, 6, 7, 6);  // 2 by 2: a block in the pen colour
    EXPECT_EQ(page.rows(5, 7, 5, 7), "##\n##\n");
    page.clear();
    gdi::pie(page.dc(), 5, 5, 8, 8, 8, 6, 8, 6);  // 3 by 3: a plus
    EXPECT_EQ(page.rows(5, 8, 5, 8), ".#.\n###\n.#.\n");
}

}  // namespace
}  // namespace klv::test

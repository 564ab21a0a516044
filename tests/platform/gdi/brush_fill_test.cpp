// FillRect's edges, brushes anchored at device (0, 0), clip and viewport.
#include <gtest/gtest.h>

#include "test_page.h"

namespace klv::test {
namespace {

PointSet rect_cells(int x0, int y0, int x1, int y1) {
    PointSet cells;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) cells.insert({x, y});
    return cells;
}

TEST(FillRect, IncludesTheLeftTopAndExcludesTheRightBottomWhicheverIsLarger) {
    TestPage page(70, 60);
    gdi::Brush* white = gdi::create_solid_brush(0xFFFFFF);
    gdi::fill_rect(page.dc(), {60, 50, 10, 10}, white);
    EXPECT_EQ(page.painted(), rect_cells(11, 11, 60, 50));
    page.clear();
    gdi::fill_rect(page.dc(), {6, 3, 2, 5}, white);
    EXPECT_EQ(page.painted(), rect_cells(3, 3, 6, 4));
    page.clear();
    gdi::fill_rect(page.dc(), {5, 5, 5, 9}, white);
    EXPECT_TRUE(page.painted().empty());
    gdi::delete_object(white);
}

TEST(FillRect, ClipIsInDevicePixelsWhateverTheViewport) {
    TestPage page(30, 30);
    gdi::set_viewport_origin(page.dc(), 10, 10, nullptr);
    gdi::Region* clip = gdi::create_rect_region(1, 1, 5, 5);
    gdi::select_clip_region(page.dc(), clip);
    gdi::delete_object(clip);
    gdi::Brush* white = gdi::create_solid_brush(0xFFFFFF);
    gdi::fill_rect(page.dc(), {-20, -20, 20, 20}, white);
    EXPECT_EQ(page.painted(), rect_cells(1, 1, 4, 4));
    gdi::select_clip_region(page.dc(), nullptr);
    gdi::fill_rect(page.dc(), {-20, -20, 20, 20}, white);
    EXPECT_EQ(page.painted(), rect_cells(0, 0, 29, 29));
    gdi::delete_object(white);
}

TEST(Brushes, HatchGridsMatchTheirStyles) {
    const char* expected[] = {
        "........\n........\n........\n########\n........\n........\n........\n........\n",
        "....#...\n....#...\n....#...\n....#...\n....#...\n....#...\n....#...\n....#...\n",
        "#.......\n.#......\n..#.....\n...#....\n....#...\n.....#..\n......#.\n.......#\n",
        ".......#\n......#.\n.....#..\n....#...\n...#....\n..#.....\n.#......\n#.......\n",
        "....#...\n....#...\n....#...\n########\n....#...\n....#...\n....#...\n....#...\n",
        "#......#\n.#....#.\n..#..#..\n...##...\n...##...\n..#..#..\n.#....#.\n#......#\n",
    };
    for (int style = gdi::HS_HORIZONTAL; style <= gdi::HS_DIAGCROSS; ++style) {
        TestPage page(24, 24);
        gdi::set_background_color(page.dc(), 0x000000);
        gdi::Brush* hatch = gdi::create_hatch_brush(style, 0xFFFFFF);
        gdi::fill_rect(page.dc(), {3, 5, 24, 24}, hatch);  // the grid does not follow the rectangle
        EXPECT_EQ(page.rows(8, 16, 8, 16), expected[style]) << "style " << style;
        gdi::delete_object(hatch);
    }
    EXPECT_EQ(gdi::create_hatch_brush(6, 0), nullptr);
}

TEST(Brushes, HatchGapsTakeTheBackgroundColourAtFillTimeOrStayInTransparentMode) {
    TestPage page(16, 8);
    gdi::Brush* hatch = gdi::create_hatch_brush(gdi::HS_VERTICAL, 0xFFFFFF);
    gdi::set_background_color(page.dc(), 0x0000FF);  // red
    gdi::fill_rect(page.dc(), {0, 0, 8, 8}, hatch);
    EXPECT_EQ(page.at(0, 0), 0xFF0000u);
    EXPECT_EQ(page.at(4, 0), 0xFFFFFFu);
    gdi::set_background_mode(page.dc(), gdi::TRANSPARENT);
    gdi::fill_rect(page.dc(), {8, 0, 16, 8}, hatch);
    EXPECT_EQ(page.at(8, 0), 0u);
    EXPECT_EQ(page.at(12, 0), 0xFFFFFFu);
    gdi::delete_object(hatch);
}

TEST(Brushes, PatternZeroBitsTakeTheTextColourOneBitsTheBackground) {
    TestPage page(16, 16);
    const std::uint8_t bits[16] = {0x1F, 0xFF, 0x3E, 0xFF, 0x7C, 0xFF, 0xF8, 0xFF,
                                   0xF1, 0xFF, 0xE3, 0xFF, 0xC7, 0xFF, 0x8F, 0xFF};
    gdi::Bitmap* bitmap = gdi::create_bitmap(8, 8, 1, 1, bits);
    gdi::Brush* brush = gdi::create_pattern_brush(bitmap);
    gdi::delete_object(bitmap);
    gdi::set_text_color(page.dc(), 0xFFFFFF);
    gdi::set_background_color(page.dc(), 0x000000);
    gdi::set_background_mode(page.dc(), gdi::TRANSPARENT);  // both colours are painted anyway
    gdi::set_viewport_origin(page.dc(), 3, 3, nullptr);    // does not move the pattern
    gdi::fill_rect(page.dc(), {-3, -3, 13, 13}, brush);
    EXPECT_EQ(page.row(0, 0, 8), "###.....\n");
    EXPECT_EQ(page.row(8, 0, 8), "###.....\n");
    EXPECT_EQ(page.row(3, 8, 16), ".....###\n");
    gdi::set_text_color(page.dc(), 0x00FF00);  // read at fill time
    gdi::fill_rect(page.dc(), {-3, -3, 13, 13}, brush);
    EXPECT_EQ(page.at(0, 0), 0x00FF00u);
    gdi::delete_object(brush);
}

}  // namespace
}  // namespace klv::test

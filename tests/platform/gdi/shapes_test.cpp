// Ellipse, Arc, Polygon, ExtFloodFill, pixels and XOR pens: the rules the
// goldens do not pin down on their own.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "test_page.h"

namespace klv::test {
namespace {

using namespace klv::gdi;

// The worked examples: thin pen '#' over a green brush 'o'.
TEST(Ellipse, SmallBoxesOutlineAndInside) {
    struct Case {
        int w, h;
        const char* rows;
    };
    const Case cases[] = {
        {3, 3, ".#.\n#o#\n.#.\n"},
        {4, 4, ".##.\n#oo#\n#oo#\n.##.\n"},
        {5, 5, ".###.\n#ooo#\n#ooo#\n#ooo#\n.###.\n"},
        {6, 6, "..##..\n.#oo#.\n#oooo#\n#oooo#\n.#oo#.\n..##..\n"},
        {8, 3, "..####..\n##oooo##\n..####..\n"},
        {7, 4, ".#####.\n#ooooo#\n#ooooo#\n.#####.\n"},
        {2, 5, "##\n##\n##\n##\n##\n"},  // two across: a block in the pen colour
    };
    for (const Case& c : cases) {
        TestPage page(c.w, c.h);
        page.solid_pen(0xFFFFFF, true);
        page.use_brush(create_solid_brush(0x00FF00));
        ellipse(page.dc(), c.w, c.h, 0, 0);  // a reversed box draws the same
        EXPECT_EQ(page.rows(0, c.h), c.rows) << c.w << " x " << c.h;
    }
}

// A whole-turn Arc is open: a thin pen leaves out the pixel just before its
// start when the step into it is straight; Ellipse closes the figure.
TEST(Arc, WholeTurnLeavesAHoleThatEllipseCloses) {
    TestPage page(16, 14);
    page.solid_pen(0xFFFFFF, true);
    arc(page.dc(), 2, 2, 12, 12, 12, 7, 12, 7);
    EXPECT_EQ(page.row(7), "..#.............\n");
    EXPECT_EQ(page.row(6), "..#........#....\n");
    page.clear();
    page.use_brush(static_cast<Brush*>(stock_object(NULL_BRUSH)));
    ellipse(page.dc(), 2, 2, 12, 12);
    EXPECT_EQ(page.row(7), "..#........#....\n");
    page.clear();
    arc(page.dc(), 4, -94, 6, 106, 6, 5, 6, 5);  // two across: it collapses onto the centre
    EXPECT_EQ(page.painted(), (PointSet{{4, 5}, {5, 5}, {4, 6}}));
}

TEST(Polygon, AlternateAndWindingRules) {
    const Point square_twice[] = {{1, 1}, {10, 1}, {10, 10}, {1, 10}, {3, 3}, {8, 3}, {8, 8}, {3, 8}};
    TestPage page(12, 11);
    page.solid_pen(0xFFFFFF, true);
    page.use_brush(create_solid_brush(0x00FF00));
    polygon(page.dc(), square_twice, 8);
    EXPECT_EQ(page.row(5, 1, 11), ".#.....#o#\n");
    set_poly_fill_mode(page.dc(), WINDING);
    polygon(page.dc(), square_twice, 8);
    EXPECT_EQ(page.row(5, 1, 11), ".#ooooo#o#\n");
    page.clear();
    const Point two[] = {{2, 2}, {6, 2}};  // there and back: both ends
    polygon(page.dc(), two, 2);
    EXPECT_EQ(page.row(2, 0, 8), "..#####.\n");
    polygon(page.dc(), two, 1);
    polygon(page.dc(), nullptr, 5);
    EXPECT_EQ(page.painted().size(), 5u);
}

TEST(FloodFill, StopsAtTheBorderAndNotAtCornersOrItsOwnBrush) {
    TestPage page(12, 12);
    page.solid_pen(0xFFFFFF, true);
    const Point outline[] = {{1, 1}, {10, 1}, {10, 10}, {1, 1}};
    polyline(page.dc(), outline, 4);
    page.use_brush(create_solid_brush(0x00FF00));
    EXPECT_TRUE(ext_flood_fill(page.dc(), 8, 3, 0xFFFFFF, FLOODFILLBORDER));
    EXPECT_EQ(page.rows(0, 5), "............\n.##########.\n..#ooooooo#.\n...#oooooo#.\n....#ooooo#.\n");
    EXPECT_EQ(page.row(11), "............\n");  // the diagonal's corners hold it
    const auto filled = page.painted();
    EXPECT_FALSE(ext_flood_fill(page.dc(), 1, 1, 0xFFFFFF, FLOODFILLBORDER));    // on the border
    EXPECT_FALSE(ext_flood_fill(page.dc(), -1, 5, 0xFFFFFF, FLOODFILLBORDER));   // off the page
    EXPECT_FALSE(ext_flood_fill(page.dc(), 3, 3, 0xFFFFFF, 7));                  // no such kind
    EXPECT_EQ(page.painted(), filled);
    // The area is found first and painted once: hatch lines in the border
    // colour do not stop the fill they belong to.
    page.clear();
    draw_line(page.dc(), 0, 6, 12, 6);
    set_background_color(page.dc(), 0);
    page.use_brush(create_hatch_brush(HS_CROSS, 0xFFFFFF));
    EXPECT_TRUE(ext_flood_fill(page.dc(), 0, 0, 0xFFFFFF, FLOODFILLBORDER));
    EXPECT_EQ(page.row(3), "############\n");
    EXPECT_EQ(page.row(5), "....#.......\n");
    EXPECT_EQ(page.row(7), "............\n");
}

TEST(FloodFill, KeepsToTheClipAndTheSurfaceColour) {
    TestPage page(10, 4);
    page.use_brush(create_solid_brush(0x00FF00));
    Region* clip = create_rect_region(2, 0, 6, 4);
    select_clip_region(page.dc(), clip);
    delete_object(clip);
    set_viewport_origin(page.dc(), 1, 0, nullptr);  // the start point is logical
    EXPECT_TRUE(ext_flood_fill(page.dc(), 2, 1, 0xFFFFFF, FLOODFILLBORDER));
    EXPECT_EQ(page.row(2), "..oooo....\n");
    select_clip_region(page.dc(), nullptr);
    page.use_brush(create_solid_brush(0xFFFFFF));
    EXPECT_TRUE(ext_flood_fill(page.dc(), 3, 1, 0x00FF00, FLOODFILLSURFACE));
    EXPECT_EQ(page.row(2), "..####....\n");
}

// No recursion and no per-pixel stack: a corridor one pixel wide that winds
// through a 4000 by 4000 page, and a grid with a cycle round every post.
TEST(FloodFill, FillsLongWindingCorridorsAndEveryCycleOfAGrid) {
    const int side = 4000;
    TestPage page(side, side);
    Pixel* pixels = page.dc()->bitmap->pixels();
    std::int64_t corridor = 0;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const bool open = y % 2 == 0 || x == ((y / 2) % 2 == 0 ? side - 1 : 0);
            pixels[std::size_t(y) * side + std::size_t(x)] = open ? 0 : 0xFFFFFF;
            corridor += open;
        }
    }
    page.use_brush(create_solid_brush(0x0000FF));
    EXPECT_TRUE(ext_flood_fill(page.dc(), 0, 0, 0xFFFFFF, FLOODFILLBORDER));
    std::int64_t filled = 0;
    for (std::size_t i = 0; i < std::size_t(side) * side; ++i) filled += pixels[i] == 0xFF0000;
    EXPECT_EQ(filled, corridor);

    TestPage grid(640, 480);
    for (int y = 1; y < 480; y += 2)
        for (int x = 1; x < 640; x += 2) grid.dc()->bitmap->row(y)[x] = 0xFFFFFF;
    grid.use_brush(create_solid_brush(0x0000FF));
    EXPECT_TRUE(ext_flood_fill(grid.dc(), 320, 240, 0xFFFFFF, FLOODFILLBORDER));
    EXPECT_EQ(grid.painted().size(), 640u * 480u);
    EXPECT_EQ(grid.at(0, 0), 0xFF0000u);
    EXPECT_EQ(grid.at(638, 479), 0xFF0000u);
}

TEST(Pixels, LogicalPointsInsideThePageAndTheClip) {
    TestPage page(8, 8);
    set_viewport_origin(page.dc(), 2, 3, nullptr);
    set_pixel(page.dc(), 1, 1, 0x0000FF);  // red at device (3, 4)
    EXPECT_EQ(page.at(3, 4), 0xFF0000u);
    EXPECT_EQ(get_pixel(page.dc(), 1, 1), 0x0000FFu);
    EXPECT_EQ(get_pixel(page.dc(), 6, 0), CLR_INVALID);  // device column 8
    set_pixel(page.dc(), -3, 0, 0xFFFFFF);               // device column -1: dropped
    Region* clip = create_rect_region(0, 0, 3, 8);
    select_clip_region(page.dc(), clip);
    delete_object(clip);
    EXPECT_EQ(get_pixel(page.dc(), 1, 1), CLR_INVALID);
    set_pixel(page.dc(), 0, 0, 0xFFFFFF);
    EXPECT_EQ(page.painted(), (PointSet{{2, 3}, {3, 4}}));
    set_rop2(page.dc(), R2_XORPEN);
    set_pixel(page.dc(), 0, 0, 0x00FFFF);
    EXPECT_EQ(page.at(2, 3), 0x0000FFu);
}

// Under R2_XORPEN one call's outline is one pixel set: on black its pixels
// are exactly those copy mode paints (none flipped twice), and drawing the
// same call again restores any background.
TEST(XorPens, FlipEachPixelOfACallOnce) {
    const std::vector<std::uint32_t> dashes = {3, 2};
    const Point bow_tie[] = {{2, 2}, {30, 20}, {30, 2}, {2, 20}, {2, 2}};
    auto draw_all = [&](DeviceContext* dc) {
        polyline(dc, bow_tie, 5);
        arc(dc, 4, 4, 28, 18, 28, 11, 16, 4);
        ellipse(dc, 6, 6, 26, 16);
        draw_line(dc, 0, 21, 31, 0);
    };
    for (int width : {1, 3, 5}) {
        for (bool dashed : {false, true}) {
            TestPage copy(32, 24), flipped(32, 24);
            for (TestPage* page : {&copy, &flipped}) {
                if (dashed)
                    page->dashed_pen(dashes, width);
                else
                    page->solid_pen(0xFFFFFF, true, width);
                page->use_brush(static_cast<Brush*>(stock_object(NULL_BRUSH)));
            }
            set_rop2(flipped.dc(), R2_XORPEN);
            polyline(copy.dc(), bow_tie, 5);
            polyline(flipped.dc(), bow_tie, 5);
            EXPECT_EQ(flipped.painted(), copy.painted()) << "width " << width << (dashed ? " dashed" : "");
            auto pixels = [&flipped] {
                const Pixel* p = flipped.dc()->bitmap->pixels();
                return std::vector<Pixel>(p, p + 32 * 24);
            };
            std::uint32_t seed = 12345;
            for (int y = 0; y < 24; ++y)
                for (int x = 0; x < 32; ++x) flipped.dc()->bitmap->row(y)[x] = (seed = seed * 1103515245 + 12345) >> 8;
            const std::vector<Pixel> busy = pixels();
            draw_all(flipped.dc());
            EXPECT_NE(pixels(), busy);
            draw_all(flipped.dc());
            EXPECT_EQ(pixels(), busy) << "width " << width << (dashed ? " dashed" : "");
        }
    }
}

}  // namespace
}  // namespace klv::test

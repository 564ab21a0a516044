// Circles, arcs, pies and ellipses much larger than the page list only the
// outline near it: what they paint there must be what the whole outline
// paints, for every pen (thin, geometric, wide), brush and write mode; and
// the largest boxes must draw the edge that crosses the page, cheaply.
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "platform/gdi/pie_outline.h"
#include "test_page.h"

namespace klv::test {
namespace {

struct Figure {
    int kind;  // 0 arc, 1 pie, 2 ellipse
    int left, top, right, bottom, x1, y1, x2, y2;
};

void draw(gdi::DeviceContext* dc, const Figure& f) {
    if (f.kind == 0) gdi::arc(dc, f.left, f.top, f.right, f.bottom, f.x1, f.y1, f.x2, f.y2);
    if (f.kind == 1) gdi::pie(dc, f.left, f.top, f.right, f.bottom, f.x1, f.y1, f.x2, f.y2);
    if (f.kind == 2) gdi::ellipse(dc, f.left, f.top, f.right, f.bottom);
}

std::vector<gdi::Pixel> pixels(const TestPage& page) {
    std::vector<gdi::Pixel> all;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) all.push_back(page.at(x, y));
    return all;
}

// A box between 1,100 and 60,000 pixels a side whose edge passes near the
// page, seen from a random side, with random start and end points.
Figure random_figure(std::mt19937& random, int page_w, int page_h) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    const int w = random() % 4 == 0 ? pick(3, 40) : pick(1100, 60000), h = random() % 4 == 0 ? pick(3, 40) : pick(1100, 60000);
    // Centre so that the outline's extreme on one side lands near the page.
    // Half the time the extreme runs along the page, within a pen's reach of it.
    const int side = pick(0, 3), along_x = pick(-50, page_w + 50), along_y = pick(-50, page_h + 50);
    const bool along = random() % 2 == 0;
    int cx = along_x, cy = along_y;
    if (side == 0) cx = pick(-40, page_w + 40) - w / 2 + (along ? pick(-60, 0) : pick(-w / 8, 0));
    if (side == 1) cx = pick(-40, page_w + 40) + w / 2 - (along ? pick(-60, 0) : pick(-w / 8, 0));
    if (side == 2) cy = pick(-40, page_h + 40) - h / 2 + (along ? pick(-60, 0) : pick(-h / 8, 0));
    if (side == 3) cy = pick(-40, page_h + 40) + h / 2 - (along ? pick(-60, 0) : pick(-h / 8, 0));
    Figure f{pick(0, 2), cx - w / 2, cy - h / 2, cx - w / 2 + w, cy - h / 2 + h, 0, 0, 0, 0};
    if (random() % 2) std::swap(f.left, f.right);
    f.x1 = cx + pick(-w, w), f.y1 = cy + pick(-h, h);
    f.x2 = random() % 6 == 0 ? f.x1 : cx + pick(-w, w), f.y2 = random() % 6 == 0 ? f.y1 : cy + pick(-h, h);
    return f;
}

TEST(LargeOutline, PaintsWhatTheWholeOutlinePaints) {
    std::mt19937 random(2024);
    TestPage page(96, 64);
    int drew = 0;
    for (int k = 0; k < 1500; ++k) {
        const Figure f = random_figure(random, page.width(), page.height());
        const int pen = int(random() % 4), width = random() % 3 == 0 ? 20 + int(random() % 60) : 2 + int(random() % 6);
        if (pen == 0) page.solid_pen(0xFFFFFF);
        if (pen == 1) page.solid_pen(0xFFFFFF, true);
        if (pen == 2) page.solid_pen(0xFFFFFF, true, width);
        if (pen == 3) page.use_pen(gdi::create_pen(int(gdi::PS_NULL), 1, 0));
        page.use_brush(random() % 3 == 0 ? static_cast<gdi::Brush*>(gdi::create_solid_brush(0x00A000))
                                         : gdi::create_hatch_brush(gdi::HS_DIAGCROSS, 0x0000C0));
        gdi::set_rop2(page.dc(), random() % 4 == 0 ? gdi::R2_XORPEN : gdi::R2_COPYPEN);
        page.clear();
        gdi::list_outlines_whole(true);
        draw(page.dc(), f);
        gdi::list_outlines_whole(false);
        const std::vector<gdi::Pixel> whole = pixels(page);
        page.clear();
        draw(page.dc(), f);
        ASSERT_EQ(pixels(page), whole) << "case " << k << ": kind " << f.kind << " box " << f.left << " " << f.top << " "
                                       << f.right << " " << f.bottom << " points " << f.x1 << " " << f.y1 << " " << f.x2
                                       << " " << f.y2 << " pen " << pen << " width " << width;
        for (gdi::Pixel p : whole) drew += p != 0 ? 1 : 0;
    }
    EXPECT_GT(drew, 50000);  // the cases do reach the page
}

// A circle of radius 400,000 centred 400,000 pixels left of the page: its
// right edge crosses the page as a line one pixel wide, curving away from it
// by the circle's own rule, and the call stays far below the time a whole
// outline of that size takes.
TEST(LargeOutline, RadiusFourHundredThousand) {
    TestPage page(640, 480);
    page.solid_pen(0xFFFFFF, true);
    page.use_brush(gdi::create_solid_brush(0x00A000));
    const int r = 400000, cx = 300 - r, cy = 240;
    const auto start = std::chrono::steady_clock::now();
    gdi::ellipse(page.dc(), cx - r, cy - r, cx + r, cy + r);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::milliseconds(200));
    // Row 240 is the circle's middle row: its rightmost pixel is x + r - 1.
    EXPECT_EQ(page.at(299, 240), 0xFFFFFFu);
    EXPECT_EQ(page.at(300, 240), 0u);
    EXPECT_EQ(page.at(298, 240), 0x00A000u);
    // 240 rows away the edge has moved in by r - sqrt(r^2 - 240^2) = 0.072: still column 299.
    EXPECT_EQ(page.at(299, 0), 0xFFFFFFu);
    EXPECT_EQ(page.at(299, 479), 0xFFFFFFu);
    for (int y = 0; y < 480; ++y) ASSERT_EQ(page.row(y, 296, 303), "ooo#...\n") << y;
}

}  // namespace
}  // namespace klv::test

// Any 32-bit argument is safe: no overflow (UBSan runs these), no crash,
// and the work is bounded by what lands on the page, so none of these
// calls takes long however far its coordinates reach.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>

#include "test_page.h"

namespace klv::test {
namespace {

using namespace klv::gdi;

class ExtremeArguments : public ::testing::Test {
protected:
    void SetUp() override { started_ = std::chrono::steady_clock::now(); }
    void TearDown() override {
        auto spent = std::chrono::steady_clock::now() - started_;
        EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(spent).count(), 2000);
    }
    TestPage page_{64, 48};

private:
    std::chrono::steady_clock::time_point started_;
};

constexpr int kMin = INT_MIN, kMax = INT_MAX;

TEST_F(ExtremeArguments, LinesAcrossTheWholeIntegerRange) {
    for (bool geometric : {false, true}) {
        page_.solid_pen(0xFFFFFF, geometric);
        draw_line(page_.dc(), kMin, kMin, kMax, kMax);
        draw_line(page_.dc(), kMax, kMin, kMin, kMax);
        draw_line(page_.dc(), kMin, 10, kMax, 11);
        draw_line(page_.dc(), 5, kMin, 5, kMax);
        set_viewport_origin(page_.dc(), kMax, kMin, nullptr);
        draw_line(page_.dc(), kMax, kMax, kMin, kMin);
        set_viewport_origin(page_.dc(), 0, 0, nullptr);
    }
    // The diagonal through the page is the one a small line gives.
    EXPECT_EQ(page_.at(20, 20), 0xFFFFFFu);
    EXPECT_EQ(page_.at(30, 11), 0xFFFFFFu);  // the half-way step of (min,10)-(max,11) is left of the page
}

TEST_F(ExtremeArguments, HugeLineMatchesTheExactWalkOnThePage) {
    // From (-1e9, -1e9 + 3) to (1e9, 1e9): its pixels on the page are those
    // of the same walk computed with a small start inside the page.
    page_.solid_pen(0xFFFFFF);
    draw_line(page_.dc(), -1000000000, -999999997, 1000000000, 1000000000);
    // j(k) with M = 2e9, m = 2e9 - 3: at x = 10, k = 1e9 + 10.
    long long M = 2000000000LL, m = 1999999997LL, k = 1000000010LL;
    long long j = (2 * (__int128)k * m + M - 1) / (2 * M);
    EXPECT_EQ(page_.at(10, int(-999999997LL + j)), 0xFFFFFFu);
}

TEST_F(ExtremeArguments, WideAndDashedPensFarOffThePage) {
    page_.dashed_pen({3, 4});
    draw_line(page_.dc(), kMin, kMin, kMax, kMax);
    draw_line(page_.dc(), kMin, 7, kMax, 7);
    page_.dashed_pen({3, 4}, 5);
    draw_line(page_.dc(), kMin, kMin, kMax, kMax);
    draw_line(page_.dc(), kMin, 20, kMax, 20);
    page_.dashed_pen({3, 4}, kMax);
    draw_line(page_.dc(), kMin, 9, kMax, 9);
    page_.dashed_pen({3, 4}, 100000);
    draw_line(page_.dc(), kMin, kMin, kMax, kMax);
    page_.solid_pen(0xFFFFFF, true, 7);
    draw_line(page_.dc(), kMin, kMin + 5, kMax, kMax);
    page_.use_pen(create_geometric_pen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_SQUARE, kMax, 0xFFFFFF, 0, nullptr));
    draw_line(page_.dc(), kMin, 0, kMax, 3);
    EXPECT_EQ(page_.at(0, 0), 0xFFFFFFu);  // a pen wider than the page covers it
    EXPECT_EQ(page_.at(63, 47), 0xFFFFFFu);
}

TEST_F(ExtremeArguments, PensWiderThanThePageAroundLongOutlines) {
    // A page of a usual window: the old cost grew with its rows times the
    // outline's 200000 pixels (seconds); the pen's pieces that cover the
    // page end the work, those far from it are not scanned.
    TestPage page(640, 480);
    page.use_pen(create_geometric_pen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_SQUARE, kMax, 0xFFFFFF, 0, nullptr));
    pie(page.dc(), -1046097738, -32650, -1046039030, 26058, -1046068384, -100000, -1046068384, 100000);
    EXPECT_EQ(page.at(0, 0), 0xFFFFFFu);
    EXPECT_EQ(page.at(639, 479), 0xFFFFFFu);
    EXPECT_EQ(page.at(320, 240), 0xFFFFFFu);
    page.clear();
    page.use_pen(create_geometric_pen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_SQUARE, 3000, 0xFFFFFF, 0, nullptr));
    gdi::select_object(page.dc(), gdi::stock_object(gdi::NULL_BRUSH));  // the pens alone
    pie(page.dc(), 5000, -29354, 63708, 29354, 70000, 0, 70000, 1);  // 1700 pixels short of the page
    ellipse(page.dc(), -40000, -40000, 40000, 40000);                 // round it, far outside
    EXPECT_EQ(page.at(0, 0), 0u);
    EXPECT_EQ(page.at(639, 479), 0u);
}

TEST_F(ExtremeArguments, PiesWithExtremeBoxesAndPoints) {
    page_.solid_pen(0xFFFFFF, true);
    page_.use_brush(create_hatch_brush(HS_DIAGCROSS, 0x00FF00));
    pie(page_.dc(), kMin, kMin, kMax, kMax, kMax, 0, kMin, 0);
    pie(page_.dc(), kMax, kMax, kMin, kMin, 0, 0, 0, 0);
    pie(page_.dc(), -70000, -70000, 70000, 70000, kMin, kMax, kMax, kMin);
    pie(page_.dc(), 10, 10, 40, 40, kMin, kMin, kMax, kMax);
    set_viewport_origin(page_.dc(), kMax, kMax, nullptr);
    pie(page_.dc(), kMax, kMax, kMin, kMin, 1, 1, 1, 1);
}

TEST_F(ExtremeArguments, LargestPieIsDrawnAndLargerOnesAreNot) {
    page_.solid_pen(0xFFFFFF, true);
    page_.use_brush(create_solid_brush(0x00FF00));
    // A box of 2^30 on a side around the page: the page lies inside the disc.
    const int half = 1 << 29;
    pie(page_.dc(), 32 - half, 24 - half, 32 + half, 24 + half, 0, 0, 0, 0);
    EXPECT_EQ(page_.at(10, 40), 0x00FF00u);
    page_.clear();
    // One pixel more: the documented limit, nothing is drawn.
    pie(page_.dc(), 32 - half, 24 - half, 32 + half + 1, 24 + half, 0, 0, 0, 0);
    EXPECT_EQ(page_.at(10, 40), 0u);
    // Its edge through the page: the arc of the right side, one pixel wide.
    arc(page_.dc(), -2 * half + 40, 24 - half, 40, 24 + half, 0, 0, 0, 0);
    EXPECT_EQ(page_.row(24, 36, 44), "...#....\n");
}

TEST_F(ExtremeArguments, FillsAndBlitsWithExtremeRectangles) {
    Brush* brush = create_hatch_brush(HS_CROSS, 0xFFFFFF);
    fill_rect(page_.dc(), {kMin, kMin, kMax, kMax}, brush);
    fill_rect(page_.dc(), {kMax, kMax, kMin, kMin}, brush);
    set_viewport_origin(page_.dc(), kMin, kMax, nullptr);
    fill_rect(page_.dc(), {kMax, kMin, kMin, kMax}, brush);
    EXPECT_EQ(page_.at(4, 0), 0xFFFFFFu);
    Point points[3] = {{kMin, kMin}, {kMax, kMax}, {kMin, kMax}};
    polyline(page_.dc(), points, 3);
    stretch_blt(page_.dc(), kMin, kMin, kMax, kMax, page_.dc(), kMax, kMax, kMax, kMax);
    bit_blt(page_.dc(), kMax, kMax, kMax, kMax, page_.dc(), kMin, kMin);
    delete_object(brush);
}

}  // namespace
}  // namespace klv::test

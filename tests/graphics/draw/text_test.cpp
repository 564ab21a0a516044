// Text styles become fonts; alignment is applied once; text refreshes the
// whole window.
#include <gtest/gtest.h>

#include "graphics/draw/text.h"
#include "graphics/klv.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

class Text : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GE(open_window(200, 100, "text", 0, 0, false, false), 0);
    }
    void TearDown() override { close_window(-2); }
    const gdi::FontDescription& font(int page = 0) {
        return static_cast<gdi::Font*>(current_state()->page_dc[std::size_t(page)]->font)->description();
    }
};

TEST_F(Text, StylesBecomeTheFontsOfTheTable) {
    set_text_style(3, 0, 2);
    EXPECT_EQ(font().face_name, "MS Sans Serif");
    EXPECT_EQ(font().weight, 400);
    EXPECT_EQ(font().height, 21);
    EXPECT_EQ(font().width, 12);
    EXPECT_EQ(font().escapement, 0);
    EXPECT_EQ(font().pitch_and_family, 0x02);

    set_text_style(0, 1, 3);
    for (int page = 0; page < 4; ++page) {
        EXPECT_EQ(font(page).face_name, "Console");
        EXPECT_EQ(font(page).weight, 700);
        EXPECT_EQ(font(page).height, 24);
        EXPECT_EQ(font(page).width, 24);
        EXPECT_EQ(font(page).escapement, 900);
        EXPECT_EQ(font(page).orientation, 900);
    }
}

TEST_F(Text, SizeZeroUsesTheDefaultRow) {
    set_text_style(4, 0, 0);
    EXPECT_EQ(font().face_name, "Arial");
    EXPECT_EQ(font().height, 32);
    EXPECT_EQ(font().width, 22);
    set_text_style(0, 0, 0);
    EXPECT_EQ(font().height, 0);
    EXPECT_EQ(font().width, 0);
}

TEST_F(Text, StylesOutsideTheTablesChangeNothing) {
    set_text_style(8, 0, 5);
    for (auto [f, d, s] : {std::tuple{11, 0, 1}, {-1, 0, 1}, {0, 0, 11}, {0, 0, -1}, {0, -1, 1}, {0, 2, 1}}) {
        current_state()->last_error = 0;
        set_text_style(f, d, s);
        EXPECT_EQ(current_state()->last_error, -11) << f << " " << d << " " << s;
        EXPECT_EQ(current_state()->text_font, 8);
        EXPECT_EQ(font().face_name, "Courier New");
    }
}

TEST_F(Text, AlignmentIsAppliedOnceByTheFirstText) {
    for (gdi::DeviceContext* dc : current_state()->page_dc) gdi::set_text_align(dc, gdi::TA_BASELINE);
    EXPECT_NE(current_state()->text_align_pending, 0);
    out_text_xy(0, 0, "a");
    EXPECT_EQ(current_state()->text_align_pending, 0);
    for (gdi::DeviceContext* dc : current_state()->page_dc) EXPECT_EQ(dc->text_align, gdi::TA_LEFT | gdi::TA_TOP);
    set_text_style(1, 1, 2);  // a new direction does not apply the alignment again
    out_text_xy(0, 0, "a");
    EXPECT_EQ(current_state()->page_dc[0]->text_align, gdi::TA_LEFT | gdi::TA_TOP);
}

TEST_F(Text, VerticalTextSwapsTheJustifications) {
    current_state()->text_direction = 1;
    apply_text_alignment(current_state());
    EXPECT_EQ(current_state()->page_dc[3]->text_align, gdi::TA_RIGHT | gdi::TA_BOTTOM);
}

TEST_F(Text, EmptyAndNullTextRefreshTheWholeWindowAndDrawNothing) {
    const Image before = page_image(0);
    out_text_xy(10, 10, "");
    EXPECT_EQ(page_image(0).pixels, before.pixels);
    EXPECT_EQ(area_shown_by([] { out_text_xy(10, 10, nullptr); }), (gdi::Rect{0, 0, 200, 100}));
}

TEST_F(Text, TopLeftOfTheFirstCellIsTheReferencePoint) {
    set_text_style(4, 0, 4);
    set_bk_color(1);  // opaque cells show where the text stands
    out_text_xy(30, 20, "Hi");
    const Image page = page_image(0);
    EXPECT_EQ(page.at(30, 20), 0x000080u);
    EXPECT_EQ(page.at(29, 20), 0u);
    EXPECT_EQ(page.at(30, 19), 0u);
    EXPECT_EQ(page.at(30 + text_width("Hi") - 1, 20 + text_height("Hi") - 1), 0x000080u);
    EXPECT_EQ(page.at(30 + text_width("Hi"), 20), 0u);
    EXPECT_EQ(text_height("Hi"), 32);
}

TEST_F(Text, WidthGrowsWithTheText) {
    set_text_style(3, 0, 2);
    EXPECT_EQ(text_width(""), 0);
    EXPECT_EQ(text_width(nullptr), 0);
    EXPECT_GT(text_width("41.67%"), text_width("41"));
    EXPECT_EQ(text_height("x"), 21);
}

}  // namespace
}  // namespace klv::test

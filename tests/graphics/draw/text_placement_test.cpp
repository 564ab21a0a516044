// Text at the current position, and the user scale of size-0 text.
#include <gtest/gtest.h>

#include <climits>

#include "graphics/draw/text.h"
#include "graphics/klv.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

class TextPlacement : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GE(open_window(200, 60, "text", 0, 0, false, false), 0); }
    void TearDown() override { close_window(-2); }
    static std::vector<int> positions() {
        std::vector<int> xs;
        for (gdi::DeviceContext* dc : current_state()->page_dc) xs.push_back(dc->position.x);
        return xs;
    }
};

TEST_F(TextPlacement, LevelLeftJustifiedTextMovesTheCurrentPositionToItsEnd) {
    set_text_style(4, 0, 1);
    set_viewport(10, 0, 200, 60, 0);  // current position: logical (0, 0)
    out_text("ab");
    const int end = text_width("ab");
    EXPECT_GT(end, 0);
    EXPECT_EQ(positions(), std::vector<int>(4, end));
    out_text("cd");
    EXPECT_EQ(positions(), std::vector<int>(4, end + text_width("cd")));
    set_text_justify(KLV_JUSTIFY_CENTRE, KLV_JUSTIFY_TOP);
    out_text("ef");
    EXPECT_EQ(positions(), std::vector<int>(4, end + text_width("cd")));
    set_text_justify(KLV_JUSTIFY_LEFT, KLV_JUSTIFY_TOP);
    set_text_style(4, 1, 1);
    out_text("gh");
    EXPECT_EQ(positions(), std::vector<int>(4, end + text_width("cd")));
}

TEST_F(TextPlacement, TheScaleIsARealRatioAndTakesEffectAtOnce) {
    set_text_style(1, 0, 0);  // size index 4: 22 by 31
    set_text_scale(3, 2, 3, 2);
    const gdi::FontDescription scaled = text_font_description(*current_state());
    EXPECT_EQ(scaled.width, 33);
    EXPECT_EQ(scaled.height, 46);  // 46.5 truncated
    EXPECT_EQ(current_state()->page_dc[3]->font->description().height, 46);
    set_text_scale(1, 3, 2, 7);
    EXPECT_EQ(text_font_description(*current_state()).width, 7);
    EXPECT_EQ(text_font_description(*current_state()).height, 8);
}

TEST_F(TextPlacement, AScaleBeyondAnyFontStillDrawsDefinedText) {
    set_text_style(4, 0, 0);
    set_text_scale(INT_MAX, 1, INT_MAX, 3);
    EXPECT_EQ(text_font_description(*current_state()).width, INT_MAX);
    out_text_xy(0, 0, "W");
    EXPECT_GT(text_height("W"), 60);
}

}  // namespace
}  // namespace klv::test

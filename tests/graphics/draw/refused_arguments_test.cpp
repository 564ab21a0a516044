// Arguments a function refuses: nothing changes, the code is recorded, and
// take_error hands it over once.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "graphics/klv.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

struct Refusal {
    std::string call;
    std::function<void()> run;
    int code;
};

// The fields the refused calls would have changed.
std::vector<int> drawing_state() {
    const WindowState* s = current_state();
    return {s->active_page, s->visual_page, s->text_h_justify, s->text_v_justify,
            s->text_mult_x, s->text_div_x,  s->fill_pattern,   int(s->fill_color), s->write_mode};
}

TEST(RefusedArguments, EachSetterRecordsItsCodeAndTakeErrorResetsIt) {
    const int window = open_window(40, 30, "refused", 0, 0, false, false);
    ASSERT_GE(window, 0);
    unsigned char buffer[64] = {};
    const int bad_header[2] = {-4, 4};
    const std::vector<Refusal> refusals = {
        {"set_active_page(4)", [] { set_active_page(4); }, KLV_ERROR_BAD_ARGUMENT},
        {"set_active_page(-1)", [] { set_active_page(-1); }, KLV_ERROR_BAD_ARGUMENT},
        {"set_visual_page(INT_MIN)", [] { set_visual_page(INT_MIN); }, KLV_ERROR_BAD_ARGUMENT},
        {"set_text_justify(3, 0)", [] { set_text_justify(3, 0); }, KLV_ERROR_BAD_ARGUMENT},
        {"set_text_justify(0, -1)", [] { set_text_justify(0, -1); }, KLV_ERROR_BAD_ARGUMENT},
        {"set_text_scale(1, 0, 1, 1)", [] { set_text_scale(1, 0, 1, 1); }, KLV_ERROR_BAD_ARGUMENT},
        {"set_text_scale(1, 1, -2, 1)", [] { set_text_scale(1, 1, -2, 1); }, KLV_ERROR_BAD_ARGUMENT},
        {"set_palette_entry(16, 0)", [] { set_palette_entry(16, 0); }, KLV_ERROR_BAD_ARGUMENT},
        {"get_palette_entry(-1)", [] { EXPECT_EQ(get_palette_entry(-1), -1); }, KLV_ERROR_BAD_ARGUMENT},
        {"set_fill_pattern(null)", [] { set_fill_pattern(nullptr, 4); }, KLV_ERROR_BAD_ARGUMENT},
        {"grab_image(null)", [] { grab_image(0, 0, 1, 1, nullptr); }, KLV_ERROR_BAD_ARGUMENT},
        {"grab_image(reversed)", [&] { grab_image(3, 0, 2, 0, buffer); }, KLV_ERROR_BAD_ARGUMENT},
        {"grab_image(huge)", [&] { grab_image(INT_MIN, 0, INT_MAX, 0, buffer); }, KLV_ERROR_BAD_ARGUMENT},
        {"paste_image(null)", [] { paste_image(0, 0, nullptr, KLV_PASTE_COPY); }, KLV_ERROR_BAD_ARGUMENT},
        {"paste_image(mode 5)", [&] { paste_image(0, 0, buffer, 5); }, KLV_ERROR_BAD_ARGUMENT},
        {"paste_image(bad header)", [&] { paste_image(0, 0, bad_header, KLV_PASTE_XOR); }, KLV_ERROR_BAD_IMAGE},
        {"out_text(null)", [] { out_text(nullptr); }, KLV_ERROR_BAD_ARGUMENT},
        {"set_current_window(7)", [] { set_current_window(7); }, KLV_ERROR_BAD_ARGUMENT},
        {"set_fill_style(13, 0)", [] { set_fill_style(13, 0); }, KLV_ERROR_BAD_ARGUMENT},
        {"set_line_style(5, 0, 1)", [] { set_line_style(5, 0, 1); }, KLV_ERROR_BAD_ARGUMENT},
        {"set_text_style(11, 0, 1)", [] { set_text_style(11, 0, 1); }, KLV_ERROR_BAD_ARGUMENT},
        {"set_write_mode(2)", [] { set_write_mode(2); }, KLV_ERROR_BAD_ARGUMENT},
    };
    const std::vector<int> before = drawing_state();
    const Image page = page_image(0);
    EXPECT_EQ(take_error(), KLV_OK);
    for (const Refusal& refusal : refusals) {
        refusal.run();
        EXPECT_EQ(take_error(), refusal.code) << refusal.call;
        EXPECT_EQ(take_error(), KLV_OK) << refusal.call << ": take_error resets the code";
        EXPECT_STRNE(error_text(refusal.code), error_text(12345)) << refusal.call << " has a sentence";
    }
    EXPECT_EQ(drawing_state(), before);
    EXPECT_EQ(page_image(0).pixels, page.pixels);
    EXPECT_EQ(get_current_window(), window);

    // A call that succeeds leaves the last code for take_error.
    set_active_page(9);
    set_active_page(1);
    EXPECT_EQ(take_error(), KLV_ERROR_BAD_ARGUMENT);
    close_window(-2);
}

// Without a current window the queries answer instead of ending the
// program, and a refused set_current_window is still reported.
TEST(RefusedArguments, WithoutACurrentWindowQueriesAnswerAndCodesAreKept) {
    const int first = open_window(40, 30, "first", 0, 0, false, false);
    open_window(40, 30, "second", 0, 0, false, false);
    set_text_justify(7, 7);  // recorded against the second window
    close_window(-1);
    EXPECT_EQ(get_current_window(), -1);
    EXPECT_EQ(get_color(), -1);
    EXPECT_EQ(get_bk_color(), -1);
    EXPECT_EQ(get_active_page(), -1);
    EXPECT_EQ(get_visual_page(), -1);
    EXPECT_EQ(get_palette_entry(KLV_DARK_RED), 0x000080);
    EXPECT_EQ(take_error(), KLV_OK);
    set_current_window(first + 1);  // closed
    EXPECT_EQ(take_error(), KLV_ERROR_BAD_ARGUMENT);
    EXPECT_EQ(take_error(), KLV_OK);
    set_current_window(first);
    EXPECT_EQ(get_current_window(), first);
    EXPECT_EQ(get_color(), KLV_WHITE);
    close_window(-2);
}

}  // namespace
}  // namespace klv::test

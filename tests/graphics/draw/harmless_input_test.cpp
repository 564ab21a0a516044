// Bad input that is not an error: null pointers, short or null point lists,
// positions and sizes far off the page, unknown indexes. Each call gives its
// documented answer, draws nothing and records nothing.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "graphics/klv.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

struct Harmless {
    std::string call;
    std::function<int()> run;
    int answer;
};

TEST(HarmlessInput, EachCallAnswersAsDocumentedAndLeavesThePageAlone) {
    const int window = open_window(40, 30, "harmless", 0, 0, false, false);
    ASSERT_GE(window, 0);
    fill_bar(5, 5, 20, 20);
    const int xy[6] = {0, 0, 39, 29, 0, 29};
    int x = 7, y = 7;
    const std::vector<Harmless> calls = {
        {"set_window_title(null)", [] { return set_window_title(nullptr), 0; }, 0},
        {"out_text_xy(null)", [] { return out_text_xy(1, 1, nullptr), 0; }, 0},
        {"text_width(null)", [] { return text_width(nullptr); }, 0},
        {"text_height(null)", [] { return text_height(nullptr); }, 0},
        {"draw_polyline(1 point)", [&] { return draw_polyline(1, xy), 0; }, 0},
        {"draw_polyline(null)", [] { return draw_polyline(3, nullptr), 0; }, 0},
        {"fill_polygon(-3 points)", [&] { return fill_polygon(-3, xy), 0; }, 0},
        {"fill_polygon(null)", [] { return fill_polygon(3, nullptr), 0; }, 0},
        {"take_mouse_event(null, null)", [] { return take_mouse_event(KLV_LEFT_DOWN, nullptr, nullptr); }, 0},
        {"take_mouse_event(kind 10)", [&] { return take_mouse_event(10, &x, &y) + x + y; }, -2},
        {"has_mouse_event(kind -1)", [] { return has_mouse_event(-1); }, 0},
        {"keep_mouse_events(kind 99)", [] { return keep_mouse_events(99, 1), 0; }, 0},
        {"set_mouse_handler(kind 10)", [] { return set_mouse_handler(10, nullptr), 0; }, 0},
        {"image_bytes(reversed)", [] { return image_bytes(3, 0, 2, 0); }, 0},
        {"image_bytes(whole int range)", [] { return image_bytes(INT_MIN, INT_MIN, INT_MAX, INT_MAX); }, 0},
        {"save_image(null)", [] { return save_image(nullptr, 0, 0, 9, 9, false); }, 4},
        {"get_pixel(off the page)", [] { return get_pixel(-1, 0) + get_pixel(40, 0) + get_pixel(0, INT_MIN); }, -3},
        {"put_pixel(off the page)", [] { return put_pixel(INT_MAX, INT_MIN, 4), 0; }, 0},
        {"flood_fill(off the page)", [] { return flood_fill(-5, -5, KLV_WHITE), 0; }, 0},
        {"draw_circle(huge radius)", [] { return draw_circle(20, 15, INT_MAX), 0; }, 0},
        {"draw_ellipse(box over 2^30)", [] { return draw_ellipse(20, 15, 0, 360, 600000000, 3), 0; }, 0},
        {"move_to, move_by past the int range", [] { return move_to(INT_MAX, INT_MIN), move_by(9, -9), get_x(); }, INT_MAX},
        {"wait_ms(-5)", [] { return wait_ms(-5), 0; }, 0},
        {"close_window(unknown)", [] { return close_window(12345), close_window(-7), get_current_window(); }, window},
        {"error_text(unknown)", [] { return std::string(error_text(12345)).empty() ? 1 : 0; }, 0},
    };
    const Image page = page_image(0);
    ASSERT_EQ(take_error(), KLV_OK);
    for (const Harmless& call : calls) {
        EXPECT_EQ(call.run(), call.answer) << call.call;
        EXPECT_EQ(take_error(), KLV_OK) << call.call;
        ASSERT_EQ(page_image(0).pixels, page.pixels) << call.call;
    }
    EXPECT_EQ(get_y(), INT_MIN);
    close_window(-2);
}

}  // namespace
}  // namespace klv::test

// The slowest argument combinations found (by fuzz/slow_call_search and
// the interface fuzzer), one call each on the 640 by 480 window: pens far
// wider than the page, outlines far longer than it, figures far off it,
// huge texts. Each call must stay bounded by the page (at most 20 ms).
#include <benchmark/benchmark.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_window.h"
#include "graphics/klv.h"

namespace klv::bench {
namespace {

struct WorstCase {
    const char* name;
    std::function<void()> state;  // set before timing
    std::function<void()> call;   // timed
};

void pen(int style, int pattern, int thickness) { set_line_style(style, pattern, thickness); }

const std::vector<WorstCase>& worst_cases() {
    static const int star[] = {-2147483647, 5, 2147483647, 7, 320, 2147483647, -90000, -90000, 320, 240, 900000, 7};
    static const std::vector<WorstCase> cases = {
        {"pie_wide_dashes_far", [] { pen(2, 0x1, INT_MAX); },
         [] { draw_pie_slice(-1046068384, -3296, 1482, 311, 29354); }},
        {"pie_wide_far", [] { pen(3, INT_MAX - 1, 23296); }, [] { draw_pie_slice(1073741824, 333, 47284, 42, -7363); }},
        {"circle_wide_far", [] { pen(1, INT_MIN, 65535); }, [] { draw_circle(1073741824, 629, 1033); }},
        {"circle_huge_near", [] { pen(4, 670, 629); }, [] { draw_circle(-43310, 309, 32767); }},
        {"circle_huge_thin", [] { pen(0, 0, 1); }, [] { draw_circle(320, 32900, 32767); }},
        {"circle_huge_dotted", [] { pen(1, 0, 1); }, [] { draw_circle(320, 32900, 32767); }},
        {"fill_ellipse_wide", [] { pen(0, 324, 2188); }, [] { fill_ellipse(-3582, 590, 882, 457); }},
        {"fill_ellipse_wider_than_page", [] { pen(4, -669, 34181); }, [] { fill_ellipse(198, 461, 387, 294); }},
        {"arc_wide_through_page", [] { pen(2, 426, 1151); }, [] { draw_arc(82, 80, 65536, 935, 195); }},
        {"circle_wide_through_page", [] { pen(3, -30795, 2205); }, [] { draw_circle(384, 1586, 551); }},
        {"ellipse_wide_dashed", [] { pen(2, INT_MIN + 1, 458); }, [] { draw_ellipse(408, 495, 3289, -2638, -32768, 1107); }},
        {"arc_wide_user_style", [] { pen(4, INT_MAX - 1, 2444); }, [] { draw_arc(113, 173, 104, -16189, 323); }},
        {"sector_wide", [] { pen(3, 259, 2921); }, [] { draw_sector(112, 549, 198, 509, 9539, 596); }},
        {"polyline_wide_star", [] { pen(0, 0, 3000); }, [] { draw_polyline(6, star); }},
        {"polygon_star", [] { pen(0, 0, 1); }, [] { fill_polygon(6, star); }},
        {"bar_3d_huge", [] { pen(2, 0, 700); }, [] { draw_bar_3d(-2147483647, -2147483647, 2147483647, 2147483647, INT_MAX, 1); }},
        {"line_wide", [] { pen(4, 0x5555, 1000); }, [] { draw_line(INT_MIN, INT_MIN, INT_MAX, INT_MAX - 7); }},
        {"circle_radius_400000_edge", [] { pen(0, 0, 1); }, [] { draw_circle(-399700, 240, 400000); }},
        {"circle_radius_400000_wide", [] { pen(0, 0, 25); }, [] { draw_circle(-399700, 240, 400000); }},
        {"circle_radius_400000_dotted", [] { pen(1, 0, 1); }, [] { draw_circle(-399700, 240, 400000); }},
        {"fill_ellipse_radius_400000", [] { pen(0, 0, 3); }, [] { fill_ellipse(320, 400100, 400000, 400000); }},
        {"pie_radius_400000", [] { pen(0, 0, 1); }, [] { draw_pie_slice(-399700, 240, 350, 10, 400000); }},
        {"sector_radius_400000_flat", [] { pen(0, 0, 1); }, [] { draw_sector(320, 240, 0, 180, 400000, 3); }},
        {"arc_radius_40000", [] { pen(0, 0, 1); }, [] { draw_arc(320, 40200, 80, 100, 40000); }},
        {"circle_small_wide_pen", [] { pen(4, 0x8001, 1025); }, [] { draw_circle(60, 120, 40); }},
        {"flood_fill_page", [] { pen(0, 0, 1); }, [] { flood_fill(10, 10, 14); }},
        {"text_largest", [] { set_text_style(10, 0, 10); }, [] { out_text_xy(-3, -40, "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"); }},
        {"text_huge_scale", [] { set_text_style(3, 1, 0), set_text_scale(INT_MAX, 1, INT_MAX, 1); },
         [] { out_text_xy(0, 0, "W@M#"); }},
        // Glyphs are kept once drawn: each call draws at a width of its own
        // (500 to 999 pixels a character), so that every one renders anew.
        {"text_vertical_huge_scale_first_call", [] { set_text_style(4, 1, 0); },
         [] {
             static int call = 0;
             set_text_scale(500 + call++ % 500, 22, 2147483647, 682);
             out_text_xy(100, 100, "The quick brown fox jumps over it");
         }},
        {"text_vertical_huge_scale_beside_page", [] { set_text_style(1, 1, 0); },
         [] {
             static int call = 0;
             set_text_scale(500 + call++ % 500, 13, 986332832, 145);
             out_text_xy(-200, 900, "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
         }},
        {"pie_widest_dashes_far", [] { pen(3, 0, INT_MAX); },
         [] { draw_pie_slice(-1046068384, -3296, 1482, 311, 29354); }},
    };
    return cases;
}

// Puts the window back as every other benchmark expects it.
void plain_state() {
    set_line_style(0, 0, 1);
    set_text_style(0, 0, 0);
    set_text_scale(1, 1, 1, 1);
    set_viewport(0, 0, width, height, 1);
    clear_page();
}

void worst_case_args(benchmark::State& state) {
    open_bench_window();
    const WorstCase& c = worst_cases()[std::size_t(state.range(0))];
    state.SetLabel(c.name);
    c.state();
    for (auto _ : state) c.call();
    plain_state();
}

BENCHMARK(worst_case_args)->DenseRange(0, int(worst_cases().size()) - 1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace klv::bench

#include "graphics/draw/line_styles.h"

#include "graphics/draw/colors.h"
#include "graphics/draw/drawing_context.h"

namespace klv {

const std::array<DashArray, 4> line_style_dashes = {{
    {2, {16, 0}},
    {2, {3, 4}},
    {4, {3, 4, 7, 4}},
    {2, {7, 4}},
}};

namespace {

constexpr std::uint32_t geometric_pen_style =
    gdi::PS_GEOMETRIC | gdi::PS_USERSTYLE | gdi::PS_ENDCAP_SQUARE | gdi::PS_JOIN_BEVEL;

int take_run(std::uint32_t& bits, bool of_ones) {
    int run = 0;
    while (run < 16 && ((bits & 1u) != 0) == of_ones) {
        bits >>= 1;
        ++run;
    }
    return run;
}

void append(DashArray& dashes, std::uint32_t length) {
    if (dashes.count < std::int32_t(dashes.entries.size())) dashes.entries[std::size_t(dashes.count++)] = length;
}

}  // namespace

// A run of k set bits becomes a dash of k - 1, a run of m clear bits a gap of
// m + 1; clear bits below the first set bit close the pattern at its end.
DashArray pattern_to_dashes(std::int32_t line_pattern) {
    std::uint32_t bits = std::uint32_t(line_pattern) & 0xFFFFu;
    DashArray dashes;
    if (bits == 0) return {2, {0, 16}};
    const int lead = take_run(bits, false);
    int consumed = lead;
    for (;;) {
        const int ones = take_run(bits, true);
        append(dashes, std::uint32_t(ones - 1));
        consumed += ones;
        if (bits == 0) break;
        const int zeros = take_run(bits, false);
        append(dashes, std::uint32_t(zeros + 1));
        consumed += zeros;
    }
    if (consumed != 16) append(dashes, std::uint32_t(17 - consumed));
    const bool even = dashes.count % 2 == 0;
    if (lead > 0 && even) {
        dashes.entries[std::size_t(dashes.count - 1)] += std::uint32_t(lead);
    } else if (lead > 0) {
        append(dashes, std::uint32_t(lead));
    } else if (!even) {
        append(dashes, 0);
    }
    return dashes;
}

DashArray pattern_to_dashes() { return pattern_to_dashes(current_window_state(nullptr)->line_pattern); }

void update_pen() {
    WindowState* state = current_window_state(nullptr);
    const gdi::ColorRef color = color_to_rgb(state->draw_color);
    const DashArray dashes = state->line_style == 4 ? pattern_to_dashes()
                                                    : line_style_dashes[std::size_t(state->line_style)];
    PageLock lock(state);
    if (!lock.locked()) return;
    for (gdi::DeviceContext* dc : state->page_dc) {
        gdi::Pen* pen = gdi::create_geometric_pen(geometric_pen_style, state->line_thickness, color, dashes.count,
                                                  dashes.entries.data());
        gdi::delete_object(gdi::select_object(dc, pen));
    }
}

}  // namespace klv

using namespace klv;

extern "C" void set_line_style(int style, int pattern, int thickness) {
    WindowState* state = current_window_state(nullptr);
    if (style < 0 || style > 4 || thickness < 1) {
        state->last_error = invalid_argument_error;
        return;
    }
    state->line_style = style;
    state->line_pattern = pattern;
    state->line_thickness = thickness;
    update_pen();
}

#include "graphics/draw/fill_styles.h"

#include "graphics/draw/colors.h"
#include "graphics/draw/drawing_context.h"

namespace klv {

const PatternBits thick_rising_pattern = {0x1F, 0x3E, 0x7C, 0xF8, 0xF1, 0xE3, 0xC7, 0x8F};
const PatternBits thick_falling_pattern = {0xF8, 0x7C, 0x3E, 0x1F, 0x8F, 0xC7, 0xE3, 0xF1};
const PatternBits block_pattern = {0x33, 0xCC, 0x33, 0xCC, 0x33, 0xCC, 0x33, 0xCC};
const PatternBits sparse_dot_pattern = {0x7F, 0xFF, 0xF7, 0xFF, 0x7F, 0xFF, 0xF7, 0xFF};
const PatternBits close_dot_pattern = {0x77, 0xFF, 0xDD, 0xFF, 0x77, 0xFF, 0xDD, 0xFF};

// Rows are 16-bit words: the pattern byte, then a padding byte of 0xFF.
gdi::Brush* pattern_brush(const PatternBits& rows) {
    std::array<std::uint8_t, 16> words{};
    for (std::size_t y = 0; y < rows.size(); ++y) {
        words[2 * y] = rows[y];
        words[2 * y + 1] = 0xFF;
    }
    gdi::Bitmap* bitmap = gdi::create_bitmap(8, 8, 1, 1, words.data());
    gdi::Brush* brush = gdi::create_pattern_brush(bitmap);
    gdi::delete_object(bitmap);
    return brush;
}

namespace {

gdi::Brush* brush_for_pattern(int pattern, gdi::ColorRef color, gdi::ColorRef background) {
    switch (pattern) {
        case 0: return gdi::create_solid_brush(background);
        case 1: return gdi::create_solid_brush(color);
        case 2: return gdi::create_hatch_brush(gdi::HS_HORIZONTAL, color);
        case 3: return gdi::create_hatch_brush(gdi::HS_BDIAGONAL, color);
        case 4: return pattern_brush(thick_rising_pattern);
        case 5: return pattern_brush(thick_falling_pattern);
        case 6: return gdi::create_hatch_brush(gdi::HS_FDIAGONAL, color);
        case 7: return gdi::create_hatch_brush(gdi::HS_CROSS, color);
        case 8: return gdi::create_hatch_brush(gdi::HS_DIAGCROSS, color);
        case 9: return pattern_brush(block_pattern);
        case 10: return pattern_brush(sparse_dot_pattern);
        default: return pattern_brush(close_dot_pattern);
    }
}

}  // namespace

}  // namespace klv

using namespace klv;

// The brush goes into the active page only; the other pages keep theirs.
extern "C" void set_fill_style(int pattern, int color) {
    WindowState* state = current_window_state(nullptr);
    PageLock lock(state);
    if (!lock.locked()) return;
    const gdi::ColorRef rgb = color_to_rgb(color);
    if (pattern == 12) return;
    if (pattern < 0 || pattern > 12) {
        state->last_error = invalid_argument_error;
        return;
    }
    gdi::Brush* brush = brush_for_pattern(pattern, rgb, color_to_rgb(state->bk_color));
    state->fill_pattern = pattern;
    state->fill_color = rgb_color_value(rgb);
    gdi::delete_object(gdi::select_object(lock.active_dc(), brush));
}

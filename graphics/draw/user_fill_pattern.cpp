// A fill pattern of the program's own: fill pattern 12.
#include "graphics/draw/colors.h"
#include "graphics/draw/drawing_context.h"
#include "graphics/draw/fill_styles.h"
#include "graphics/errors/error_record.h"

namespace klv {

namespace {

constexpr int user_fill_pattern = 12;

}  // namespace

}  // namespace klv

using namespace klv;

// The brush paints 0 bits in the fill colour, so the rows go in inverted: the
// caller's 1 bits show the fill colour. Into the active page only, as every
// fill style.
extern "C" void set_fill_pattern(const unsigned char rows[8], int color) {
    WindowState* state = current_window_state(nullptr);
    if (rows == nullptr) return record_error(KLV_ERROR_BAD_ARGUMENT);
    PatternBits inverted;
    for (std::size_t y = 0; y < inverted.size(); ++y) inverted[y] = std::uint8_t(~rows[y]);
    const gdi::ColorRef rgb = color_to_rgb(color);
    PageLock lock(state);
    if (!lock.locked()) return;
    state->fill_pattern = user_fill_pattern;
    state->fill_color = rgb_color_value(rgb);
    gdi::delete_object(gdi::select_object(lock.active_dc(), pattern_brush(inverted)));
}

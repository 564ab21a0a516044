// Where text stands: justification, text at the current position, and the
// user scale of size-0 text.
#include <algorithm>
#include <limits>

#include "graphics/draw/drawing_context.h"
#include "graphics/draw/text.h"
#include "graphics/errors/error_record.h"

namespace klv {

namespace {

bool valid_justification(int value) { return value >= 0 && value < int(h_align_flags.size()); }

int saturated_sum(int a, int b) {
    return int(std::clamp<long long>((long long)a + b, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

}  // namespace klv

using namespace klv;

// Applied to the pages by the next text drawn.
extern "C" void set_text_justify(int h, int v) {
    WindowState* state = current_window_state(nullptr);
    if (!valid_justification(h) || !valid_justification(v)) return record_error(KLV_ERROR_BAD_ARGUMENT);
    state->text_h_justify = h;
    state->text_v_justify = v;
    state->text_align_pending = 1;
}

// Level, left-justified text leaves the current position at its right end,
// on all four pages, so that the next out_text continues the line.
extern "C" void out_text(const char* text) {
    WindowState* state = current_window_state(nullptr);
    if (text == nullptr) return record_error(KLV_ERROR_BAD_ARGUMENT);
    PageLock lock(state);
    if (!lock.locked()) return;
    gdi::DeviceContext* dc = lock.active_dc();
    apply_pending_alignment(state);
    const gdi::Point at = dc->position;
    const int length = text_length(text);
    gdi::text_out(dc, at.x, at.y, text, length);
    if (state->text_direction == 0 && state->text_h_justify == 0) {
        const int x = saturated_sum(at.x, gdi::text_extent(dc, text, length).cx);
        for (gdi::DeviceContext* page : state->page_dc) gdi::move_to(page, x, at.y, nullptr);
    }
    lock.refresh_page();
}

// Only size-0 text uses the scale: another size keeps its font.
extern "C" void set_text_scale(int mx, int dx, int my, int dy) {
    WindowState* state = current_window_state(nullptr);
    if (mx < 1 || dx < 1 || my < 1 || dy < 1) return record_error(KLV_ERROR_BAD_ARGUMENT);
    state->text_mult_x = mx;
    state->text_div_x = dx;
    state->text_mult_y = my;
    state->text_div_y = dy;
    if (state->text_char_size != 0) return;
    PageLock lock(state);
    if (lock.locked()) build_text_font(state);
}

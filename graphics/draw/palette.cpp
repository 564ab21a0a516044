// The palette behind colour numbers 0 to 15, and the colours as set.
#include "graphics/draw/colors.h"
#include "graphics/draw/drawing_context.h"
#include "graphics/errors/error_record.h"

namespace klv {

namespace {

bool valid_entry(int index) { return index >= 0 && index < int(palette.size()); }

// Runs step with each open window current in turn; the current window is
// the same afterwards.
template <class Step>
void with_each_window_current(Step step) {
    WindowTable& table = window_table();
    const int current = table.current_window;
    for (int i = 0; i < table.windows_opened; ++i) {
        if (open_window_state(i) == nullptr) continue;
        table.current_window = i;
        step(current_window_state(nullptr));
    }
    table.current_window = current;
}

}  // namespace

}  // namespace klv

using namespace klv;

// The palette is shared: every window whose drawing or background colour is
// this number sets it again, so that its pens and text take the new value.
// The other windows are the caller's thread's: a mouse handler may not change it.
extern "C" void set_palette_entry(int index, int color) {
    if (!valid_entry(index) || window_thread_state != nullptr) return record_error(KLV_ERROR_BAD_ARGUMENT);
    palette[std::size_t(index)].store(color_to_rgb(color), std::memory_order_relaxed);
    with_each_window_current([index](const WindowState* state) {
        if (state->draw_color == index) set_color(index);
        if (state->bk_color == index) set_bk_color(index);
    });
}

extern "C" int get_palette_entry(int index) {
    if (!valid_entry(index)) {
        record_error(KLV_ERROR_BAD_ARGUMENT);
        return -1;
    }
    // An entry holding the RGB value of its own number (black, entry 0, as
    // the palette starts) answers that number: it names that colour now.
    const gdi::ColorRef rgb = palette[std::size_t(index)].load(std::memory_order_relaxed);
    return rgb == gdi::ColorRef(index) ? index : rgb_color_value(rgb);
}

extern "C" int get_color(void) {
    const WindowState* state = current_window_or_null();
    return state != nullptr ? state->draw_color : -1;
}

extern "C" int get_bk_color(void) {
    const WindowState* state = current_window_or_null();
    return state != nullptr ? state->bk_color : -1;
}

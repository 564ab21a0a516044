// How large the current window is shown on the screen.
#include "graphics/draw/drawing_context.h"
#include "graphics/errors/error_record.h"
#include "graphics/klv.h"

using namespace klv;

extern "C" void set_window_scale(int scale) {
    WindowState* state = current_window_state(nullptr);
    if (scale < 1 || scale > 8) return record_error(KLV_ERROR_BAD_ARGUMENT);
    ui::set_window_scale(state->hwnd, scale);
}

extern "C" int get_window_scale(void) { return ui::window_scale(current_window_state(nullptr)->hwnd); }

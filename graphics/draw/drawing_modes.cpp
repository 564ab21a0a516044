#include "graphics/draw/drawing_modes.h"

#include "graphics/draw/drawing_context.h"
#include "graphics/errors/error_record.h"

using namespace klv;

// Only stored: outline operations apply it around their drawing.
extern "C" void set_write_mode(int mode) {
    WindowState* state = current_window_state(nullptr);
    if (mode != KLV_DRAW_COPY && mode != KLV_DRAW_XOR) return record_error(KLV_ERROR_BAD_ARGUMENT);
    state->write_mode = mode;
}

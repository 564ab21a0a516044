#include "graphics/errors/error_record.h"

#include <atomic>

#include "graphics/klv.h"
#include "graphics/window/window_state.h"

namespace klv {

namespace {

// The code of a call refused while no window was current.
std::atomic<int> windowless_error{KLV_OK};

}  // namespace

void record_error(int code) {
    if (WindowState* state = current_window_or_null())
        state->last_error = code;
    else
        windowless_error = code;
}

}  // namespace klv

extern "C" int take_error(void) {
    if (klv::WindowState* state = klv::current_window_or_null()) {
        const int code = state->last_error;
        state->last_error = KLV_OK;
        return code;
    }
    return klv::windowless_error.exchange(KLV_OK);
}

// The codes a window records in last_error (take_error reads and resets it)
// and that load_image returns, with one sentence each. The numbers are the
// KLV_ERROR_* constants of the public header.
#pragma once

#include "graphics/klv.h"

namespace klv {

// The sentence for a code; codes the library never records give
// "Unknown error code." rather than null, so the result can always be printed.
const char* error_sentence(int code);

}  // namespace klv

// The viewport, the default drawing state of a new window and the window's
// largest coordinates.
#pragma once

#include "graphics/klv.h"

namespace klv {

// Puts the current window's drawing state to its defaults.
void reset_defaults();

}  // namespace klv


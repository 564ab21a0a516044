// The viewport, the default drawing state of a new window and the window's
// largest coordinates.
#pragma once

namespace klv {

// Puts the current window's drawing state to its defaults.
void reset_defaults();

}  // namespace klv

extern "C" {
void set_viewport(int left, int top, int right, int bottom, int clip);
int get_max_x(void);
int get_max_y(void);
}

// A window's recording (record_frames): started and ended from the program,
// fed by the window's paints, ended when the window closes or the program
// ends.
#pragma once

#include "graphics/window/window_state.h"

namespace klv {

// From the paint, with the page lock held, after the visual page was put on
// the screen: hands the picture to the window's recording, when one is on.
// unshown_painted: drawing that had not been shown yet was painted.
void record_painted_page(WindowState* state, bool unshown_painted);

// When the window closes, on its thread: its recording ends and its file is
// written.
void finish_window_recording(WindowState* state);

// For a window just opened: starts recording it into the file KLV_RECORD
// names, for the first window of the program only; KLV_RECORD_SECONDS (a
// whole number of seconds) ends that recording by itself after so long. A
// file that cannot be written is said on stderr, and the program goes on.
void record_from_environment();

}  // namespace klv

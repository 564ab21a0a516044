// Whole-number window scaling: each pixel of a window's client area shown as
// an s by s block of screen pixels, so that a page stays legible on a
// high-density screen. Internal to platform/ui.
#pragma once

#include "platform/gdi/gdi_types.h"
#include "platform/ui/backend.h"
#include "platform/ui/window_record.h"

namespace klv::ui {

constexpr int largest_window_scale = 8;

// KLV_SCALE when it is a whole number from 1 to 8; 0 when it is unset or
// anything else (the desktop then decides).
int scale_from_environment();

// The scale a desktop of that many dots per inch asks for: 3 from 240, 2
// from 144, else 1.
int scale_for_dpi(double dpi);

// The scale of the Xft.dpi entry of an X resource string (lines "name:
// value"); 1 when there is none or it is not a number.
int scale_from_resources(const char* resources);

// The largest scale from 1 to `wanted` at which the window's outer
// rectangle fits a screen of that size; 1 when none fits.
int fitting_scale(const WindowGeometry& geometry, int wanted, gdi::Size screen);

// Gives the geometry a new scale: the client area on the screen, and with it
// the outer rectangle, grows or shrinks; the top-left corner stays.
void rescale_geometry(WindowGeometry& geometry, int scale);

// The scale a new window of that geometry starts at: KLV_SCALE, else what
// the desktop asks for, pulled down to what fits the screen.
int initial_window_scale(const ThreadDisplay& display, const WindowGeometry& geometry);

// On the window's thread: shows the window at that scale (pulled down to
// what fits the screen). False, with nothing changed, when the screen image
// cannot be had.
bool apply_window_scale(Window& window, int scale);

}  // namespace klv::ui

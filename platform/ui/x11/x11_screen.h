// What the X11 backend offers outside a window thread's connection. This
// header has no X11 types, so the rest of platform/ui can include it.
#pragma once

#include <string>

#include "platform/gdi/gdi_types.h"

namespace klv::ui {

// The default screen's size; false when no display can be opened.
bool x11_screen_size(gdi::Size* size);

// The scale the server's Xft.dpi resource asks for; 1 without one or
// without a display.
int x11_desktop_scale();

}  // namespace klv::ui

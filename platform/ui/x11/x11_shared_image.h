// The client area's image in memory shared with the X server (MIT-SHM), so
// that presenting a rectangle copies it once instead of sending it over the
// connection. Only platform/ui/x11 includes this header.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include "platform/gdi/gdi.h"

namespace klv::ui {

class SharedImage {
public:
    // Unusable (ok() false) when the server has no MIT-SHM or cannot attach.
    SharedImage(Display* display, int width, int height);
    ~SharedImage();
    SharedImage(const SharedImage&) = delete;
    SharedImage& operator=(const SharedImage&) = delete;

    bool ok() const { return image_ != nullptr; }
    // Copies the rectangle of `source` at the scale and puts it at (x, y) +
    // the rectangle's place on the screen.
    void put(::Window window, GC gc, const gdi::Bitmap& source, const gdi::Rect& rect, int scale, int x, int y);

private:
    Display* display_;
    XShmSegmentInfo segment_{};
    XImage* image_ = nullptr;
};

// The error code of the last X error on any connection (0 for none), cleared by reading.
int take_last_x_error();

}  // namespace klv::ui

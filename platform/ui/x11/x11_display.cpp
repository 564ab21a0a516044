#include <X11/XKBlib.h>

#include <atomic>
#include <cstdlib>

#include "platform/ui/thread_queue.h"
#include "platform/ui/ui.h"
#include "platform/ui/x11/x11_internal.h"
#include "platform/ui/x11/x11_screen.h"
#include "platform/ui/x11/x11_shared_image.h"
#include "platform/ui/window_scale.h"

namespace klv::ui {

X11Atoms::X11Atoms(Display* d)
    : wm_protocols(XInternAtom(d, "WM_PROTOCOLS", False)),
      wm_delete_window(XInternAtom(d, "WM_DELETE_WINDOW", False)),
      motif_wm_hints(XInternAtom(d, "_MOTIF_WM_HINTS", False)),
      net_wm_name(XInternAtom(d, "_NET_WM_NAME", False)),
      utf8_string(XInternAtom(d, "UTF8_STRING", False)),
      net_wm_moveresize(XInternAtom(d, "_NET_WM_MOVERESIZE", False)),
      net_frame_extents(XInternAtom(d, "_NET_FRAME_EXTENTS", False)),
      net_wm_window_type(XInternAtom(d, "_NET_WM_WINDOW_TYPE", False)),
      net_wm_window_type_dialog(XInternAtom(d, "_NET_WM_WINDOW_TYPE_DIALOG", False)) {}

X11Display::X11Display(Display* display) : display_(display), atoms_(display) {
    // Held keys then repeat as presses only, without the releases between.
    Bool supported = False;
    XkbSetDetectableAutoRepeat(display_, True, &supported);
}

X11Display::~X11Display() { XCloseDisplay(display_); }

bool X11Display::pump(ThreadQueue&) {
    XFlush(display_);
    bool any = false;
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        handle(event);
        any = true;
    }
    return any;
}

void X11Display::handle(XEvent& event) {
    if (event.type == MappingNotify) {
        // The keyboard map changed (a layout switch, a tool mapping a spare
        // key code): look keys up in the new one.
        XRefreshKeyboardMapping(&event.xmapping);
        return;
    }
    auto found = windows_.find(event.xany.window);
    if (found != windows_.end()) found->second->handle(event);
}

// The resources as the server held them when the connection was opened.
int X11Display::desktop_scale() const { return scale_from_resources(XResourceManagerString(display_)); }

std::unique_ptr<NativeWindow> X11Display::create(Window& window) {
    auto native = std::make_unique<X11Window>(*this, window);
    if (!native->ok()) {
        set_last_error(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    windows_[native->id()] = native.get();
    return native;
}

namespace {

std::atomic<int> last_x_error{0};

int ignore_x_error(Display*, XErrorEvent* error) {
    last_x_error = error->error_code;
    return 0;
}

}  // namespace

int take_last_x_error() { return last_x_error.exchange(0); }

void ignore_x_errors() {
    static const bool installed = (XSetErrorHandler(ignore_x_error), true);
    (void)installed;
}

namespace {

Display* open_connection() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) {
        set_display_error("cannot open display: DISPLAY is not set");
        return nullptr;
    }
    ignore_x_errors();
    Display* display = XOpenDisplay(name);
    if (!display) set_display_error(std::string("cannot open display: ") + name);
    return display;
}

}  // namespace

std::unique_ptr<ThreadDisplay> open_x11_display() {
    Display* display = open_connection();
    if (!display) {
        set_last_error(ERROR_NO_DISPLAY);
        return nullptr;
    }
    return std::make_unique<X11Display>(display);
}

bool x11_screen_size(gdi::Size* size) {
    Display* display = open_connection();
    if (!display) return false;
    size->cx = DisplayWidth(display, DefaultScreen(display));
    size->cy = DisplayHeight(display, DefaultScreen(display));
    XCloseDisplay(display);
    return true;
}

int x11_desktop_scale() {
    Display* display = open_connection();
    if (!display) return 1;
    const int scale = scale_from_resources(XResourceManagerString(display));
    XCloseDisplay(display);
    return scale;
}

}  // namespace klv::ui

// What the X server says about the desktop, for tests that wait on it: a
// window by its name or its process, whether a window manager runs and has
// taken a window on, whether some client holds the keyboard or took the
// pointer, a window's pixels, the system menu shown. Include after
// GoogleTest (Xlib defines None and Bool).
#pragma once

#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/eventually.h"

namespace klv::test {

inline int xdotool(const std::string& arguments) {
    return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str());
}

// How many items (up to `most`) the window's property of that name holds;
// 0 when it has none.
inline unsigned long property_items(Display* display, ::Window w, const char* name, long most = 1) {
    Atom property = XInternAtom(display, name, True);
    if (property == 0) return 0;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, w, property, 0, most, False, AnyPropertyType, &type, &format, &count, &after,
                           &data) != Success)
        count = 0;
    if (data) XFree(data);
    return count;
}

// A window manager names itself on the root window (_NET_SUPPORTING_WM_CHECK).
inline bool window_manager_running(Display* display) {
    return property_items(display, DefaultRootWindow(display), "_NET_SUPPORTING_WM_CHECK") == 1;
}

// Waits (five seconds at most) until the window manager has handled every
// event the X server sent it so far: it answers a window's request for its
// frame's extents after them. True when it answered, or none runs.
inline bool window_manager_caught_up(Display* display) {
    if (!window_manager_running(display)) return true;
    const ::Window root = DefaultRootWindow(display);
    const ::Window probe = XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0);
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = probe;
    request.xclient.message_type = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
    request.xclient.format = 32;
    XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &request);
    XFlush(display);
    const bool answered = eventually([&] { return property_items(display, probe, "_NET_FRAME_EXTENTS", 4) == 4; });
    XDestroyWindow(display, probe);
    XSync(display, False);
    return answered;
}

// True while another client (a popup menu) holds the keyboard: our own grab
// of it is refused. The look takes the keyboard for a moment: a client that
// tries to take it meanwhile is refused, so look only once it has tried.
inline bool keyboard_grabbed(Display* display) {
    const int result =
        XGrabKeyboard(display, DefaultRootWindow(display), False, GrabModeAsync, GrabModeAsync, CurrentTime);
    if (result == GrabSuccess) XUngrabKeyboard(display, CurrentTime);
    XSync(display, False);
    return result == AlreadyGrabbed;
}

// True once the pointer has left `w` for another client's grab of it (a
// window manager moving the window); `w` must have LeaveWindowMask selected.
// Unlike a grab of our own, the look cannot take the pointer from that client.
inline bool pointer_taken_from(Display* display, ::Window w) {
    XEvent event;
    while (XCheckTypedWindowEvent(display, w, LeaveNotify, &event))
        if (event.xcrossing.mode == NotifyGrab) return true;
    return false;
}

// Whether the window manager has taken the window on (ICCCM's WM_STATE).
inline bool managed(Display* display, ::Window w) { return property_items(display, w, "WM_STATE") == 1; }

// The first visible window of this process (_NET_WM_PID), or 0.
inline ::Window window_of_this_process() {
    FILE* out = popen(("xdotool search --onlyvisible --pid " + std::to_string(getpid()) + " 2>/dev/null").c_str(), "r");
    char line[64] = {};
    const bool found = out && fgets(line, sizeof line, out);
    if (out) pclose(out);
    return found ? ::Window(std::strtoul(line, nullptr, 10)) : 0;
}

// The viewable window of exactly that name under `parent`, or 0.
inline ::Window viewable_window_named(Display* display, ::Window parent, const std::string& title) {
    char* name = nullptr;
    if (XFetchName(display, parent, &name) && name) {
        const bool match = title == name;
        XFree(name);
        XWindowAttributes attributes;
        if (match && XGetWindowAttributes(display, parent, &attributes) && attributes.map_state == IsViewable)
            return parent;
    }
    ::Window root, up, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count)) return 0;
    ::Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) found = viewable_window_named(display, children[i], title);
    if (children) XFree(children);
    return found;
}

// Waits (five seconds at most) for the window to be shown.
inline ::Window wait_for_window_named(Display* display, const std::string& title) {
    ::Window found = 0;
    eventually([&] { return (found = viewable_window_named(display, DefaultRootWindow(display), title)) != 0; });
    return found;
}

// The screen's pixel of a window, 0xRRGGBB.
inline unsigned long pixel_of(Display* display, ::Window w, int x, int y) {
    XImage* image = XGetImage(display, w, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return ~0ul;
    const unsigned long value = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return value;
}

// The system menu popup once it is drawn and holds the keyboard, or 0. It
// takes the keyboard before it draws itself, so the look at the keyboard
// waits for its picture: its corner in the dialogs' border colour.
inline ::Window wait_for_system_menu(Display* display) {
    constexpr unsigned long border = 0x7A7A7A;
    const ::Window popup = wait_for_window_named(display, "System menu");
    return popup != 0 && eventually([&] { return pixel_of(display, popup, 0, 0) == border; }) &&
                   eventually([&] { return keyboard_grabbed(display); })
               ? popup
               : 0;
}

}  // namespace klv::test

// In a test body or SetUp: a test that needs a window manager (frames,
// activation, _NET_FRAME_EXTENTS) skips without one, or fails on CI.
#define KLV_NEED_WINDOW_MANAGER(display) KLV_NEED(::klv::test::window_manager_running(display), "a window manager")

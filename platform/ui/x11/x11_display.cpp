#include <X11/XKBlib.h>
#include <X11/Xatom.h>

#include <poll.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <thread>

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
      net_wm_window_type_dialog(XInternAtom(d, "_NET_WM_WINDOW_TYPE_DIALOG", False)),
      net_wm_pid(XInternAtom(d, "_NET_WM_PID", False)) {}

X11Display::X11Display(Display* display) : display_(display), atoms_(display) {
    // Held keys then repeat as presses only, without the releases between.
    Bool supported = False;
    XkbSetDetectableAutoRepeat(display_, True, &supported);
}

X11Display::~X11Display() { close_x_connection(display_); }

std::string X11Display::lost_desktop() const {
    return x_connection_lost(display_) ? std::string(DisplayString(display_)) : std::string();
}

int X11Display::wait_descriptor() const { return x_connection_lost(display_) ? -1 : ConnectionNumber(display_); }

// Nothing more is asked of a lost connection: Xlib would only queue the
// requests in a buffer that is never sent.
bool X11Display::pump(ThreadQueue&) {
    if (x_connection_lost(display_)) return false;
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
    if (!dialog_owners_.empty()) {
        if (event.type == CreateNotify && !event.xcreatewindow.override_redirect) {
            // Told of its properties from now on; it may have them already.
            XSelectInput(display_, event.xcreatewindow.window, PropertyChangeMask);
            tie_if_dialog(event.xcreatewindow.window);
        }
        if (event.type == PropertyNotify && event.xproperty.atom == atoms_.net_wm_pid) tie_if_dialog(event.xany.window);
    }
    auto found = windows_.find(event.xany.window);
    if (found != windows_.end()) found->second->handle(event);
}

// The resources as the server held them when the connection was opened.
int X11Display::desktop_scale() const { return scale_from_resources(XResourceManagerString(display_)); }

void X11Display::listen_for_new_windows() {
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
    XSync(display_, False);
}

void X11Display::tie_windows_of(long pid, ::Window owner) { dialog_owners_[pid] = owner; }

void X11Display::untie_windows_of(long pid) {
    dialog_owners_.erase(pid);
    if (dialog_owners_.empty()) XSelectInput(display_, DefaultRootWindow(display_), NoEventMask);
}

void X11Display::tie_if_dialog(::Window window) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, window, atoms_.net_wm_pid, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                           &after, &data) != Success) {
        return;
    }
    const long pid = count == 1 && format == 32 ? *reinterpret_cast<long*>(data) : 0;
    if (data) XFree(data);
    auto owner = dialog_owners_.find(pid);
    if (owner != dialog_owners_.end()) XSetTransientForHint(display_, window, owner->second);
}

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

// The connections opened here, each with whether its server went away. A
// connection is used by its own thread only, but the table is shared.
std::mutex connections_mutex;
std::map<Display*, bool>& connections() {
    static auto* table = new std::map<Display*, bool>;  // outlives the exit handlers
    return *table;
}

int note_lost_connection(Display* display) {
#ifdef KLV_HAVE_X_EXIT_HANDLER
    {
        std::lock_guard lock(connections_mutex);
        auto found = connections().find(display);
        if (found != connections().end()) {
            found->second = true;
            return 0;
        }
    }
#endif
    // Xlib ends the process when this returns: before open_x_connection
    // has a connection's exit handler in place (the server went away while
    // it connected), or with an Xlib that has no exit handlers. The thread
    // ends the program now, in the orderly way, from inside Xlib.
    desktop_lost(DisplayString(display));
}

#ifdef KLV_HAVE_X_EXIT_HANDLER
// Xlib then returns from the call that failed, and later calls on the
// connection do nothing.
void carry_on(Display*, void*) {}
#endif

Display* open_connection() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) {
        set_display_error("cannot open display: DISPLAY is not set");
        return nullptr;
    }
    Display* display = open_x_connection(name);
    if (!display) set_display_error(std::string("cannot open display: ") + name);
    return display;
}

}  // namespace

#if defined(__SANITIZE_THREAD__)
// When a call finds the connection broken and the exit handler returns, Xlib
// releases the connection's lock once more than it took it, in its own code:
// the thread checker would end the program there, before our orderly exit.
extern "C" const char* __tsan_default_suppressions() { return "mutex:libX11.so\n"; }
#endif

int take_last_x_error() { return last_x_error.exchange(0); }

void ignore_x_errors() {
    static const bool installed = (XSetErrorHandler(ignore_x_error), XSetIOErrorHandler(note_lost_connection), true);
    (void)installed;
}

namespace {

// An X server resets when its last client leaves, and drops the connections
// that arrive meanwhile: a program that closes its only window (or asks the
// screen's size) and opens the next one would find the display gone at
// random. One connection to each display, opened with the first and never
// used, keeps the server up for the rest of the program.
void keep_server_up(const char* name) {
    static std::mutex mutex;
    static auto* kept = new std::map<std::string, Display*>;  // open until the program ends
    std::lock_guard lock(mutex);
    if (kept->count(name) != 0) return;
    Display* keeper = XOpenDisplay(name);
    if (keeper == nullptr) return;
#ifdef KLV_HAVE_X_EXIT_HANDLER
    XSetIOErrorExitHandler(keeper, carry_on, nullptr);
#endif
    (*kept)[name] = keeper;
}

// The server drops the connections that arrive while it resets, and a
// program started just after the previous one ended (its last client) meets
// that with its first connection: it fails with ECONNRESET or EAGAIN. The
// first connection is tried again for up to reset_retry_time; not when no
// server listens there (ECONNREFUSED, ENOENT), nor once a connection was
// made: keep_server_up then stops the resets.
constexpr std::chrono::milliseconds reset_retry_time{2000};
constexpr std::chrono::milliseconds reset_retry_pause{20};
std::atomic<bool> connected_once{false};

Display* connect_through_resets(const char* name) {
    const auto end = std::chrono::steady_clock::now() + reset_retry_time;
    for (;;) {
        errno = 0;
        Display* display = XOpenDisplay(name);
        const int error = errno;
        if (display != nullptr || connected_once.load() || error == ECONNREFUSED || error == ENOENT ||
            std::chrono::steady_clock::now() >= end) {
            return display;
        }
        std::this_thread::sleep_for(reset_retry_pause);  // the server's reset has no event to wait on
    }
}

}  // namespace

Display* open_x_connection(const char* name) {
    ignore_x_errors();
    Display* display = connect_through_resets(name);
    if (!display) return nullptr;
    connected_once = true;
    keep_server_up(name);
#ifdef KLV_HAVE_X_EXIT_HANDLER
    XSetIOErrorExitHandler(display, carry_on, nullptr);
#endif
    std::lock_guard lock(connections_mutex);
    connections()[display] = false;
    return display;
}

void close_x_connection(Display* display) {
    XCloseDisplay(display);
    std::lock_guard lock(connections_mutex);
    connections().erase(display);
}

bool x_connection_lost(Display* display) {
    std::lock_guard lock(connections_mutex);
    auto found = connections().find(display);
    return found != connections().end() && found->second;
}

bool next_x_event(Display* display, XEvent* event) {
    while (XPending(display) == 0) {
        if (x_connection_lost(display)) return false;
        pollfd ready{ConnectionNumber(display), POLLIN, 0};
        poll(&ready, 1, -1);
    }
    XNextEvent(display, event);
    return true;
}

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
    close_x_connection(display);
    return true;
}

int x11_desktop_scale() {
    Display* display = open_connection();
    if (!display) return 1;
    const int scale = scale_from_resources(XResourceManagerString(display));
    close_x_connection(display);
    return scale;
}

}  // namespace klv::ui

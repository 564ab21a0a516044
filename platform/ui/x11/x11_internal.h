// The X11 backend's connection and windows. Only platform/ui/x11 includes
// this header (it brings in Xlib).
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <map>
#include <memory>
#include <set>
#include <vector>

#include "platform/ui/backend.h"
#include "platform/ui/thread_queue.h"
#include "platform/ui/window_record.h"
#include "platform/ui/x11/x11_shared_image.h"

namespace klv::ui {

struct X11Atoms {
    Atom wm_protocols, wm_delete_window, motif_wm_hints, net_wm_name, utf8_string, net_wm_moveresize,
        net_frame_extents, net_wm_window_type, net_wm_window_type_dialog, net_wm_pid;
    explicit X11Atoms(Display* display);
};

class X11Window;

// One connection per window thread.
class X11Display final : public ThreadDisplay {
public:
    explicit X11Display(Display* display);
    ~X11Display() override;

    int wait_descriptor() const override;
    bool pump(ThreadQueue& queue) override;
    std::unique_ptr<NativeWindow> create(Window& window) override;
    bool is_headless() const override { return false; }
    int desktop_scale() const override;
    std::string lost_desktop() const override;

    Display* display() const { return display_; }
    const X11Atoms& atoms() const { return atoms_; }
    void forget(::Window id) { windows_.erase(id); }
    // Handles one event for our windows (also used by the system menu's loop).
    void handle(XEvent& event);

    // The windows that process `pid` (a dialog program) makes become dialogs
    // of `owner`: WM_TRANSIENT_FOR, which the window manager keeps above it.
    // Listening starts before the program does, so that no window is missed.
    void listen_for_new_windows();
    void tie_windows_of(long pid, ::Window owner);
    void untie_windows_of(long pid);

private:
    void tie_if_dialog(::Window window);

    Display* display_;
    X11Atoms atoms_;
    std::map<::Window, X11Window*> windows_;
    std::map<long, ::Window> dialog_owners_;  // by process id
};

class X11Window final : public NativeWindow {
public:
    X11Window(X11Display& display, Window& window);
    ~X11Window() override;

    bool ok() const { return id_ != 0; }
    ::Window id() const { return id_; }
    void show(bool visible) override;
    void present(const gdi::Bitmap& image, const gdi::Rect& rect) override;
    bool start_move() override;
    void keyboard_move() override;
    void minimize() override;
    void restore() override;
    void open_system_menu() override;
    void set_title(const std::string& title) override;
    void rescale() override;
    unsigned long desktop_id() const override { return id_; }
    void dialog_program_starting() override { display_.listen_for_new_windows(); }
    void dialog_program_started(int pid) override { display_.tie_windows_of(pid, id_); }
    void dialog_program_ended(int pid) override { display_.untie_windows_of(pid); }

    void handle(XEvent& event);

private:
    void create_native();
    gdi::Size native_size() const;  // of our X window: the client area on the screen, or the whole outer window
    void set_hints();
    void show_title(const std::string& title);
    void set_size_hints(gdi::Size size);
    void make_shared_image();
    void put_scaled(const gdi::Bitmap& image, const gdi::Rect& rect, int scale);
    void on_expose(const XExposeEvent& event);
    void on_configure();
    void on_key(XKeyEvent& event, bool down);
    void on_button(const XButtonEvent& event, bool down);
    void on_motion(const XMotionEvent& event);
    void draw_frame();
    void move_resize(long action);
    void push(const InputEvent& event);
    bool take_menu_key(unsigned long keysym, unsigned int state);

    X11Display& display_;
    Window& window_;
    ::Window id_ = 0;
    GC gc_ = nullptr;
    std::unique_ptr<SharedImage> shared_image_;  // null when MIT-SHM is not to be had
    std::vector<gdi::Pixel> scaled_;             // without MIT-SHM: the client area at its scale
    bool decorated_ = true;
    gdi::Point client_origin_;  // where the client area lies in our X window
    std::set<unsigned int> keys_down_;
    int last_root_x_ = 0;
    int last_root_y_ = 0;
};

// _MOTIF_WM_HINTS: flags (functions 1, decorations 2), functions, decorations.
// A titled window moves, minimises and closes, with border, title, menu and
// minimise button, but no maximise or resize; an untitled one has no decorations.
constexpr long motif_titled[5] = {1 | 2, 4 | 8 | 32, 2 | 8 | 16 | 32, 0, 0};
constexpr long motif_undecorated[5] = {2, 0, 0, 0, 0};
constexpr long motif_dialog[5] = {1 | 2, 4 | 32, 2 | 8 | 16, 0, 0};
void set_motif_hints(Display* display, ::Window id, const X11Atoms& atoms, const long (&hints)[5]);

// _NET_WM_PID and WM_CLIENT_MACHINE: which process on which machine owns
// the window, so that the window manager can offer to end it when it stops
// answering.
void set_process_hints(Display* display, ::Window id, const X11Atoms& atoms);

// X errors (a window the server already forgot) are not fatal to us, and
// neither is a lost connection inside Xlib: it is noted, Xlib returns from
// the call that failed, and later calls on that connection do nothing.
void ignore_x_errors();

// Opens a connection whose loss is noted as above; null when it cannot be
// opened. Closed with close_x_connection.
Display* open_x_connection(const char* name);
void close_x_connection(Display* display);
// True once the connection's server has gone away.
bool x_connection_lost(Display* display);
// Waits for the connection's next event; false once the connection is lost
// (XNextEvent alone would then read an event that never came).
bool next_x_event(Display* display, XEvent* event);

// The system menu popup: runs until the user chooses or cancels; returns the
// chosen id, or 0.
std::uint32_t run_system_menu(X11Display& display, Window& window, int root_x, int root_y);

}  // namespace klv::ui

// Windows, messages and per-thread message loops: the user-interface service
// the graphics library is written against.
//
// Each call has the effect of the Win32 USER call it stands for (named in the
// comment). A window belongs to the thread that created it; its messages are
// dispatched only by that thread's get_message / dispatch_message loop. The
// backend (X11 or headless, see backend choice in ui.cpp) is invisible here.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/gdi/device_context.h"
#include "platform/ui/messages.h"

namespace klv::ui {

struct Window;  // opaque; a "window handle"

using WindowProcedure = std::intptr_t (*)(Window* window, std::uint32_t message, std::uintptr_t wparam,
                                          std::intptr_t lparam);

struct WindowClass {
    std::string name;
    std::uint32_t style = 0;  // CS_DBLCLKS, CS_SAVEBITS
    WindowProcedure procedure = nullptr;
    int background_brush = -1;  // a stock brush number, or -1 for none
};

struct Message {
    Window* window = nullptr;
    std::uint32_t message = 0;
    std::uintptr_t wparam = 0;
    std::intptr_t lparam = 0;
};

struct PaintInfo {
    gdi::DeviceContext* dc = nullptr;
    gdi::Rect paint;  // the invalid rectangle, client coordinates
};

// RegisterClassExA / UnregisterClassA. Registering a name twice fails.
bool register_class(const WindowClass& window_class);
bool unregister_class(const std::string& name);

// CreateWindowExA: outer position and outer size; the client area is what is
// left inside the frame and caption that system_metric reports for the style.
// Created hidden. `owner` (may be null): a window whose dialog this is
// (DS_MODALFRAME), kept above it on the desktop. Null on failure (unknown
// class, no display): last_error() then says why.
Window* create_window(const std::string& class_name, const std::string& title, std::uint32_t style, int x,
                      int y, int width, int height, Window* owner = nullptr);

// DestroyWindow: WM_DESTROY to the procedure, then the window is gone. Only
// the thread that created the window may destroy it; false otherwise.
bool destroy_window(Window* window);

std::intptr_t default_procedure(Window* window, std::uint32_t message, std::uintptr_t wparam,
                                std::intptr_t lparam);  // DefWindowProcA

// The calling thread's message loop.
bool get_message(Message* message);  // GetMessageA: false once WM_QUIT is taken
void translate_message(const Message& message);
std::intptr_t dispatch_message(const Message& message);
void post_quit_message(int exit_code);

// PostMessageA: false when the window no longer exists.
bool post_message(Window* window, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam);
// SendMessageA: runs the procedure on the window's thread while the caller
// waits; returns 0 at once when that thread has ended.
std::intptr_t send_message(Window* window, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam);

// InvalidateRect (null: the whole client area). Thread-safe.
void invalidate_rect(Window* window, const gdi::Rect* rect, bool erase);
gdi::DeviceContext* begin_paint(Window* window, PaintInfo* paint);  // BeginPaint
void end_paint(Window* window, const PaintInfo* paint);              // EndPaint: shows what was painted

// GetDC / ReleaseDC: a context compatible with the screen.
gdi::DeviceContext* get_dc(Window* window);
void release_dc(Window* window, gdi::DeviceContext* dc);

// The user-data slot (GWL_USERDATA): 0 until set.
void set_user_data(Window* window, void* data);
void* user_data(Window* window);

// SetWindowTextA: sends WM_SETTEXT (lparam: the NUL-terminated text) to the
// window, whose default handling shows the text as its title. False when
// the window no longer exists.
bool set_window_text(Window* window, const char* text);
// GetWindowLongA with GWL_STYLE: the style the window was created with.
std::uint32_t window_style(Window* window);

// AppendMenuA on the window's system menu (MF_STRING or MF_SEPARATOR).
bool append_system_menu(Window* window, std::uint32_t flags, std::uint32_t id, const char* text);

void show_window(Window* window, int show_command);  // ShowWindow
void update_window(Window* window);                  // UpdateWindow: paints now if anything is invalid

// MessageBoxA: modal, above `owner` (may be null); on X11 a dialog of ours
// (message_dialog.h), without a display a line on stderr. Returns the answer
// (IDOK, IDCANCEL, IDYES, IDNO); IDOK where nothing could be asked (no
// display, the headless backend).
int message_box(Window* owner, const std::string& text, const std::string& caption, std::uint32_t style);

// GetSystemMetrics.
int system_metric(int index);

// Whole-number scaling: each client-area pixel of a window is shown as an s
// by s block of screen pixels (s from 1 to 8). The client area keeps its size
// in pixels; mouse positions arrive in those pixels. A new window starts at
// KLV_SCALE=s when that is set to 1 to 8, else at the scale the desktop asks
// for (X resource Xft.dpi: 144 or more gives 2, 240 or more 3), pulled down
// to the largest that lets the window fit the screen.
int window_scale(Window* window);  // 0 for a window that is gone
// From any thread: the window resizes and shows its client area at that
// scale (pulled down to what fits the screen). False for a scale outside 1
// to 8 or a window that is gone.
bool set_window_scale(Window* window, int scale);
// The scale the desktop asks for: KLV_SCALE when set to 1 to 8, else the X
// resource Xft.dpi, else 1. For our own dialogs and menus, whose text grows
// with it.
int desktop_scale();

// GetLastError / SetLastError for the calling thread, and the text that
// FormatMessageA gives for a code.
std::uint32_t last_error();
void set_last_error(std::uint32_t code);
std::string error_text(std::uint32_t code);

// What a thread does when its connection to the desktop is lost (the X
// server went away, the session ended): handler(line) runs on that thread
// from its message loop, with one line that names the desktop ("The
// connection to display :1 was lost; the program ends."), and ends the
// program. Without a handler, or when it returns, the thread writes the
// line on stderr and the program ends with status 1. Nothing more is asked
// of that desktop meanwhile.
using DesktopLostHandler = void (*)(const std::string& line);
void set_desktop_lost_handler(DesktopLostHandler handler);
[[noreturn]] void desktop_lost(const std::string& desktop_name);

// GetSaveFileNameA: the chosen name, or false when cancelled. The dialog asks
// before an existing file is replaced. While it is open the calling thread
// keeps dispatching its windows' messages (they repaint), and the owner
// takes no input.
struct SaveFileRequest {
    std::string filter_name;     // "Bitmap files (*.bmp)"
    std::string filter_pattern;  // "*.BMP"
    std::string chosen_name;     // the answer
    Window* owner = nullptr;     // the dialog opens above it, as its dialog
    std::string title;           // empty: "Save As"
    // Filters offered after the first: name and pattern ("PNG files (*.png)", "*.PNG").
    std::vector<std::pair<std::string, std::string>> more_filters;
};
bool save_file_dialog(SaveFileRequest& request);

}  // namespace klv::ui

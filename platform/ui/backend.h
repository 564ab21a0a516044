// What a backend gives the window service: a connection per window thread
// and a native window per window. Internal to platform/ui.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/gdi/gdi.h"

namespace klv::ui {

struct Window;
class ThreadQueue;

class NativeWindow {
public:
    virtual ~NativeWindow() = default;
    virtual void show(bool visible) = 0;
    // Shows the rectangle of the window's screen image (client coordinates).
    virtual void present(const gdi::Bitmap& image, const gdi::Rect& rect) = 0;
    // The user drags the window by the point last pressed (HTCAPTION). True
    // when the desktop leaves it to us to follow the drag with mouse moves.
    virtual bool start_move() = 0;
    virtual void keyboard_move() = 0;  // the system menu's Move
    virtual void minimize() = 0;
    virtual void restore() = 0;
    // The system menu popup; headless has none.
    virtual void open_system_menu() = 0;
    // Shows the window's title (Windows-1252) where the desktop shows titles.
    virtual void set_title(const std::string&) {}
    // The window's geometry has a new scale: the window on the screen takes
    // its new size. Called on the window's thread.
    virtual void rescale() {}
    // The window's number on the desktop (the X window); 0 for none.
    virtual unsigned long desktop_id() const { return 0; }
    // A dialog program of this window is about to start, has started as
    // process `pid`, has ended: the windows it makes meanwhile are made
    // dialogs of this window, so that they open above it.
    virtual void dialog_program_starting() {}
    virtual void dialog_program_started(int) {}
    virtual void dialog_program_ended(int) {}
    // An entry appended to the window's system menu (AppendMenuA), for a
    // desktop that keeps the menu itself.
    virtual void append_menu_entry(std::uint32_t /*flags*/, std::uint32_t /*id*/, const char* /*text*/) {}
    // The desktop's own default handling of a message, where the desktop
    // has one (DefWindowProcA on Windows); none: the library's stands.
    virtual std::optional<std::intptr_t> system_default(std::uint32_t /*message*/, std::uintptr_t /*wparam*/,
                                                        std::intptr_t /*lparam*/) {
        return std::nullopt;
    }
};

class ThreadDisplay {
public:
    virtual ~ThreadDisplay() = default;
    // Readable when the desktop has events for this thread; -1 for none.
    virtual int wait_descriptor() const = 0;
    // Turns the desktop's pending events into input and invalidations; true
    // when there were any.
    virtual bool pump(ThreadQueue& queue) = 0;
    // Null with last_error set on failure. Geometry is already in `window`.
    virtual std::unique_ptr<NativeWindow> create(Window& window) = 0;
    virtual bool is_headless() const = 0;
    // The window scale the desktop asks for (its resolution): 1 to 3.
    virtual int desktop_scale() const { return 1; }
    // Once the connection to the desktop is lost: the desktop's name; until
    // then empty.
    virtual std::string lost_desktop() const { return {}; }
};

// native: the desktop of the system we run on (X11 on Linux, USER32 on
// Windows, see native_desktop.h).
enum class BackendKind { native, headless, none };

// KLV_BACKEND=headless, or the native backend's name ("x11" on Linux, "win32"
// on Windows); without it the native desktop where it can be reached, else
// none.
BackendKind chosen_backend();

// Opens the calling thread's connection; null with last_error set when no
// display can be opened.
std::unique_ptr<ThreadDisplay> open_headless_display();
std::unique_ptr<ThreadDisplay> open_x11_display();

// Why the last display could not be opened ("cannot open display: ...").
void set_display_error(const std::string& text);
std::string display_error();

}  // namespace klv::ui

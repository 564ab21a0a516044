// Dialogs of our own: a window of the calling thread, drawn with the dialog
// look, above its owner as its dialog, run as a modal loop (the owner takes
// no input, every window of the thread keeps painting). The message box, the
// replace question and the built-in file chooser are made of these.
// Internal to platform/ui.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gdi/gdi.h"
#include "platform/ui/dialog_look.h"
#include "platform/ui/ui.h"

namespace klv::ui {

// How a dialog ended: the content finished; no window could be made; the
// thread was asked to quit while it was open (WM_QUIT then stays queued).
enum class DialogEnd { finished, no_window, quit };

class DialogContent {
public:
    virtual ~DialogContent() = default;

    // The client area the content needs, in pixels.
    virtual gdi::Size client_size(const DialogLook& look) = 0;
    // Paints the whole client area.
    virtual void paint(gdi::DeviceContext* dc, const DialogLook& look) = 0;
    virtual void key_down(std::uint32_t virtual_key) { (void)virtual_key; }
    // A typed character (Windows-1252); control characters come as keys.
    virtual void character(std::uint8_t byte) { (void)byte; }
    // WM_LBUTTONDOWN, WM_LBUTTONUP or WM_LBUTTONDBLCLK at a client position.
    virtual void mouse(std::uint32_t message, int x, int y) {
        (void)message, (void)x, (void)y;
    }
    // The close box or Alt+F4: cancels, unless the content says otherwise.
    virtual void close_request() { finish(); }

    bool finished() const { return finished_; }
    const DialogLook& look() const { return *look_; }

protected:
    void finish() { finished_ = true; }
    void redraw();                               // paints the whole dialog again
    Window* window() const { return window_; }  // the dialog's own window

private:
    friend DialogEnd run_dialog(Window* owner, const std::string& title, DialogContent& content);
    bool finished_ = false;
    Window* window_ = nullptr;
    const DialogLook* look_ = nullptr;
};

// Shows the content in a dialog window titled `title`, centred on `owner` (or
// on the screen), and runs the thread's messages until the content finishes.
DialogEnd run_dialog(Window* owner, const std::string& title, DialogContent& content);

}  // namespace klv::ui

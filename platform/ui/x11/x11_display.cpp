#include "platform/ui/backend.h"
#include "platform/ui/ui.h"
#include "platform/ui/x11/x11_screen.h"

namespace klv::ui {

std::unique_ptr<ThreadDisplay> open_x11_display() {
    set_display_error("cannot open display: the X11 backend is not built yet");
    set_last_error(ERROR_NO_DISPLAY);
    return nullptr;
}

bool x11_screen_size(gdi::Size*) { return false; }
bool x11_message_box(const std::string&, const std::string&) { return false; }

}  // namespace klv::ui

// The native desktop on Linux: the X server that DISPLAY names.
#include "platform/ui/native_desktop.h"

#include <cstdlib>

#include "platform/ui/backend.h"
#include "platform/ui/message_dialog.h"
#include "platform/ui/messages.h"
#include "platform/ui/x11/save_dialog_chooser.h"
#include "platform/ui/x11/x11_screen.h"

namespace klv::ui {

const char* native_backend_name() { return "x11"; }

bool native_desktop_available() {
    const char* display = std::getenv("DISPLAY");
    if (display && *display) return true;
    set_display_error("cannot open display: DISPLAY is not set");
    return false;
}

std::unique_ptr<ThreadDisplay> open_native_display() { return open_x11_display(); }

std::optional<int> native_metric(int index) {
    if (index != SM_CXSCREEN && index != SM_CYSCREEN) return std::nullopt;
    gdi::Size size;
    if (!x11_screen_size(&size)) return std::nullopt;
    return index == SM_CXSCREEN ? size.cx : size.cy;
}

int native_desktop_scale() { return x11_desktop_scale(); }

int native_message_box(Window* owner, const std::string& text, const std::string& caption, std::uint32_t style) {
    return show_message_dialog(owner, text, caption, style);
}

bool native_file_chooser_installed() { return file_chooser_installed(); }

std::optional<std::string> native_choose_save_file(const SaveFileRequest& request) {
    return choose_save_file(request);
}

bool native_ask_replace(Window* owner, const std::string& file_name) {
    if (file_chooser_installed()) return ask_replace_with_chooser(owner, file_name);
    return show_message_dialog(owner, file_name + " already exists.\nDo you want to replace it?", "Confirm Save As",
                               MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void native_offer_saved_file(const std::string&) {}

}  // namespace klv::ui

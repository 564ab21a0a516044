// The native desktop in a web page: the page itself, where each window is a
// frame of ours. Message boxes and the save chooser are the library's own
// dialogs, drawn in the page like any window.
#include "platform/ui/native_desktop.h"

#include "platform/ui/backend.h"
#include "platform/ui/message_dialog.h"
#include "platform/ui/messages.h"
#include "platform/ui/web/web_calls.h"

namespace klv::ui {

std::unique_ptr<ThreadDisplay> open_web_display();

const char* native_backend_name() { return "web"; }

bool native_desktop_available() { return true; }

std::unique_ptr<ThreadDisplay> open_native_display() { return open_web_display(); }

std::optional<int> native_metric(int index) {
    if (index != SM_CXSCREEN && index != SM_CYSCREEN) return std::nullopt;
    const int size = klv_web_desktop_size(index == SM_CXSCREEN ? 0 : 1);
    if (size <= 0) return std::nullopt;
    return size;
}

int native_desktop_scale() { return klv_web_device_scale(); }

int native_message_box(Window* owner, const std::string& text, const std::string& caption, std::uint32_t style) {
    return show_message_dialog(owner, text, caption, style);
}

bool native_file_chooser_installed() { return false; }

std::optional<std::string> native_choose_save_file(const SaveFileRequest&) { return std::nullopt; }

// A download never overwrites the user's file: nothing to ask.
bool native_ask_replace(Window*, const std::string&) { return true; }

void native_offer_saved_file(const std::string& path) { klv_web_download(path.c_str()); }

}  // namespace klv::ui

#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/ui/backend.h"

namespace klv::ui {

namespace {
std::mutex display_error_mutex;
std::string display_error_text = "cannot open display";
}  // namespace

BackendKind chosen_backend() {
    const char* name = std::getenv("KLV_BACKEND");
    if (name && std::strcmp(name, "headless") == 0) return BackendKind::headless;
    if (name && std::strcmp(name, "x11") == 0) return BackendKind::x11;
    if (name && *name) {
        set_display_error(std::string("cannot open display: KLV_BACKEND=") + name + " is neither x11 nor headless");
        return BackendKind::none;
    }
    const char* display = std::getenv("DISPLAY");
    if (display && *display) return BackendKind::x11;
    set_display_error("cannot open display: DISPLAY is not set");
    return BackendKind::none;
}

void set_display_error(const std::string& text) {
    std::lock_guard lock(display_error_mutex);
    display_error_text = text;
}

std::string display_error() {
    std::lock_guard lock(display_error_mutex);
    return display_error_text;
}

}  // namespace klv::ui

#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/ui/backend.h"
#include "platform/ui/native_desktop.h"

namespace klv::ui {

namespace {
std::mutex display_error_mutex;
std::string display_error_text = "cannot open display";
}  // namespace

BackendKind chosen_backend() {
    const char* name = std::getenv("KLV_BACKEND");
    if (name && std::strcmp(name, "headless") == 0) return BackendKind::headless;
    if (name && std::strcmp(name, native_backend_name()) == 0) return BackendKind::native;
    if (name && *name) {
        set_display_error(std::string("cannot open display: KLV_BACKEND=") + name + " is neither " +
                          native_backend_name() + " nor headless");
        return BackendKind::none;
    }
    return native_desktop_available() ? BackendKind::native : BackendKind::none;
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

// How large a window is shown: KLV_SCALE, else the desktop's resolution,
// never larger than the screen holds.
#include "platform/ui/window_scale.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>

#include "platform/ui/backend.h"
#include "platform/ui/native_desktop.h"
#include "platform/ui/registry.h"
#include "platform/ui/thread_queue.h"
#include "platform/ui/window_internal.h"

namespace klv::ui {

int scale_from_environment() {
    const char* text = std::getenv("KLV_SCALE");
    if (text == nullptr || text[0] < '1' || text[0] > '8' || text[1] != '\0') return 0;
    return text[0] - '0';
}

int scale_for_dpi(double dpi) {
    if (dpi >= 240) return 3;
    if (dpi >= 144) return 2;
    return 1;
}

int scale_from_resources(const char* resources) {
    if (resources == nullptr) return 1;
    constexpr std::string_view name = "Xft.dpi:";
    for (std::string_view rest = resources; !rest.empty();) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (!line.starts_with(name)) continue;
        const std::string value(line.substr(name.size()));
        char* after = nullptr;
        const double dpi = std::strtod(value.c_str(), &after);
        return after != value.c_str() ? scale_for_dpi(dpi) : 1;
    }
    return 1;
}

int fitting_scale(const WindowGeometry& geometry, int wanted, gdi::Size screen) {
    for (int scale = wanted; scale > 1; --scale) {
        WindowGeometry scaled = geometry;
        rescale_geometry(scaled, scale);
        const std::int64_t width = std::int64_t(scaled.outer.right) - scaled.outer.left;
        const std::int64_t height = std::int64_t(scaled.outer.bottom) - scaled.outer.top;
        if (width <= screen.cx && height <= screen.cy) return scale;
    }
    return 1;
}

void rescale_geometry(WindowGeometry& g, int scale) {
    const int frame_width = g.outer.right - g.outer.left - g.screen_client_width();
    const int frame_height = g.outer.bottom - g.outer.top - g.screen_client_height();
    g.scale = scale;
    g.outer.right = g.outer.left + frame_width + g.screen_client_width();
    g.outer.bottom = g.outer.top + frame_height + g.screen_client_height();
}

namespace {

gdi::Size screen_size() { return {system_metric(SM_CXSCREEN), system_metric(SM_CYSCREEN)}; }

}  // namespace

bool apply_window_scale(Window& window, int wanted) {
    WindowGeometry geometry;
    {
        std::lock_guard lock(window.mutex);
        geometry = window.geometry;
    }
    const int scale = wanted > 1 ? fitting_scale(geometry, wanted, screen_size()) : 1;
    if (scale == geometry.scale) return true;
    std::vector<gdi::Pixel> presented;
    try {
        presented.assign(std::size_t(geometry.client_width) * std::size_t(geometry.client_height) *
                             std::size_t(scale) * std::size_t(scale),
                         0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    {
        std::lock_guard lock(window.mutex);
        rescale_geometry(window.geometry, scale);
        window.presented.swap(presented);
    }
    if (window.native) window.native->rescale();
    present_rect(window, window.client_rect());
    return true;
}

int initial_window_scale(const ThreadDisplay& display, const WindowGeometry& geometry) {
    int wanted = scale_from_environment();
    if (wanted == 0) wanted = display.desktop_scale();
    return wanted > 1 ? fitting_scale(geometry, wanted, screen_size()) : 1;
}

int desktop_scale() {
    const int scale = scale_from_environment();
    if (scale != 0) return scale;
    return chosen_backend() == BackendKind::native ? native_desktop_scale() : 1;
}

int window_scale(Window* handle) {
    auto window = find_window(handle);
    if (!window) {
        set_last_error(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    std::lock_guard lock(window->mutex);
    return window->geometry.scale;
}

bool set_window_scale(Window* handle, int scale) {
    if (scale < 1 || scale > largest_window_scale) {
        set_last_error(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (!find_window(handle)) {
        set_last_error(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    return send_message(handle, WM_SETSCALE, std::uintptr_t(scale), 0) != 0;
}

}  // namespace klv::ui

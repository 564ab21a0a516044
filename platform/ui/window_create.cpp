// Classes, window creation and destruction, showing, user data and the
// system menu's entries.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <new>

#include "platform/ui/backend.h"
#include "platform/ui/native_desktop.h"
#include "platform/ui/registry.h"
#include "platform/ui/thread_queue.h"
#include "platform/ui/window_internal.h"
#include "platform/ui/window_record.h"
#include "platform/ui/window_scale.h"

namespace klv::ui {

bool register_class(const WindowClass& window_class) {
    if (window_class.name.empty()) {
        set_last_error(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (!add_class(window_class)) {
        set_last_error(ERROR_CLASS_ALREADY_EXISTS);
        return false;
    }
    return true;
}

bool unregister_class(const std::string& name) {
    if (!remove_class(name)) {
        set_last_error(ERROR_CANNOT_FIND_WND_CLASS);
        return false;
    }
    return true;
}

WindowGeometry geometry_for_style(std::uint32_t style, int x, int y, int width, int height) {
    const bool framed = (style & WS_DLGFRAME) != 0;
    const bool captioned = (style & WS_CAPTION) == WS_CAPTION;
    const int frame_x = framed ? system_metric(SM_CXDLGFRAME) : 0;
    const int frame_y = framed ? system_metric(SM_CYDLGFRAME) : 0;
    const int caption = captioned ? system_metric(SM_CYCAPTION) : 0;
    // A corner so far right or down that the far edge would pass the end
    // of the int range moves back just enough: such a window is off every
    // screen wherever it is.
    x = int(std::min<std::int64_t>(x, std::int64_t(INT_MAX) - width));
    y = int(std::min<std::int64_t>(y, std::int64_t(INT_MAX) - height));
    WindowGeometry g;
    g.outer = {x, y, x + width, y + height};
    g.client_offset = {frame_x, frame_y + caption};
    g.client_width = std::max(0, width - 2 * frame_x);
    g.client_height = std::max(0, height - 2 * frame_y - caption);
    return g;
}

namespace {

bool open_thread_display(ThreadQueue& queue) {
    if (queue.display) return true;
    switch (chosen_backend()) {
        case BackendKind::headless: queue.display = open_headless_display(); break;
        case BackendKind::native: queue.display = open_native_display(); break;
        case BackendKind::none: set_last_error(ERROR_NO_DISPLAY); break;
    }
    return queue.display != nullptr;
}

bool make_screen_image(Window& window) {
    const int w = window.geometry.client_width;
    const int h = window.geometry.client_height;
    if (w > 0 && h > 0) {
        gdi::DeviceContext* reference = gdi::create_compatible_dc(nullptr);
        window.screen_bitmap = reference ? gdi::create_compatible_bitmap(reference, w, h) : nullptr;
        if (reference) gdi::delete_dc(reference);
        if (!window.screen_bitmap) return false;
    }
    try {
        const auto scale = std::size_t(window.geometry.scale);
        window.presented.assign(std::size_t(w) * std::size_t(h) * scale * scale, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace

Window* create_window(const std::string& class_name, const std::string& title, std::uint32_t style, int x, int y,
                      int width, int height, Window* owner) {
    auto window_class = find_class(class_name);
    if (!window_class) {
        set_last_error(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    auto queue = current_queue();
    if (!open_thread_display(*queue)) return nullptr;
    auto window = std::make_shared<Window>();
    window->window_class = *window_class;
    window->title = title;
    window->style = style;
    window->owner = queue;
    window->parent = find_window(owner).get();
    window->geometry = geometry_for_style(style, x, y, width, height);
    // Our dialogs grow their text with the desktop instead.
    if (!(style & DS_MODALFRAME))
        rescale_geometry(window->geometry, initial_window_scale(*queue->display, window->geometry));
    window->system_menu = standard_system_menu();
    if (!make_screen_image(*window)) {
        release_window(*window);
        set_last_error(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    window->native = queue->display->create(*window);
    if (!window->native) {
        release_window(*window);
        return nullptr;
    }
    add_window(window);
    queue->windows.push_back(window);
    if (call_procedure(window.get(), WM_CREATE, 0, 0) == -1) {
        destroy_window(window.get());
        set_last_error(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (style & WS_VISIBLE) show_window(window.get(), SW_SHOWNORMAL);
    return window.get();
}

void release_window(Window& window) {
    window.destroyed = true;
    window.native.reset();
    if (window.screen_bitmap) gdi::delete_object(window.screen_bitmap);
    window.screen_bitmap = nullptr;
}

bool destroy_window(Window* handle) {
    auto window = owned_window(handle);
    if (!window) return false;
    call_procedure(handle, WM_DESTROY, 0, 0);
    remove_window(handle);
    std::erase(window->owner->windows, window);
    release_window(*window);
    return true;
}

void release_thread_windows(ThreadQueue& queue) {
    for (auto& window : queue.windows) {
        remove_window(window.get());
        release_window(*window);
    }
    queue.windows.clear();
}

std::shared_ptr<Window> owned_window(Window* handle) {
    auto window = find_window(handle);
    if (!window || window->owner.get() != existing_queue()) {
        set_last_error(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return window;
}

void show_window(Window* handle, int show_command) {
    auto window = owned_window(handle);
    if (!window) return;
    const bool visible = show_command != SW_HIDE;
    bool newly_shown;
    {
        std::lock_guard lock(window->mutex);
        newly_shown = visible && !window->visible;
        window->visible = visible;
    }
    window->native->show(visible);
    if (newly_shown) invalidate_rect(handle, nullptr, true);
}

void set_user_data(Window* window, void* data) {
    if (auto w = find_window(window)) w->user_data = data;
}

void* user_data(Window* window) {
    auto w = find_window(window);
    return w ? w->user_data.load() : nullptr;
}

std::vector<MenuEntry> standard_system_menu() {
    return {{SC_RESTORE, "Restore", false},
            {SC_MOVE, "Move", false},
            {SC_MINIMIZE, "Minimize", false},
            {0, "", true},
            {SC_CLOSE, "Close", false}};
}

bool append_system_menu(Window* window, std::uint32_t flags, std::uint32_t id, const char* text) {
    auto w = find_window(window);
    if (!w) {
        set_last_error(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    const bool separator = (flags & MF_SEPARATOR) != 0;
    if (!separator && !text) {
        set_last_error(ERROR_INVALID_PARAMETER);
        return false;
    }
    {
        std::lock_guard lock(w->mutex);
        w->system_menu.push_back({separator ? 0 : id, separator ? "" : text, separator});
    }
    if (w->native) w->native->append_menu_entry(flags, id, separator ? nullptr : text);
    return true;
}

}  // namespace klv::ui

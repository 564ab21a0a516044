// The invalid area, painting and presenting the screen image.
#include <algorithm>

#include "platform/ui/backend.h"
#include "platform/ui/registry.h"
#include "platform/ui/scaled_copy.h"
#include "platform/ui/thread_queue.h"
#include "platform/ui/window_internal.h"

namespace klv::ui {

namespace {

gdi::Rect intersect(const gdi::Rect& a, const gdi::Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

bool is_empty(const gdi::Rect& r) { return r.left >= r.right || r.top >= r.bottom; }

gdi::Rect bounding(const gdi::Rect& a, const gdi::Rect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

gdi::DeviceContext* screen_dc(Window& window) {
    gdi::DeviceContext* dc = gdi::create_compatible_dc(nullptr);
    if (dc && window.screen_bitmap) gdi::select_object(dc, window.screen_bitmap);
    return dc;
}

}  // namespace

// Only the first invalidation after a paint wakes the window's thread: the
// ones that follow grow the invalid area it is going to paint anyway.
void invalidate_rect(Window* handle, const gdi::Rect* rect, bool erase) {
    auto window = find_window(handle);
    if (!window) return;
    bool was_valid;
    {
        std::lock_guard lock(window->mutex);
        window->invalidation_log.push_back(rect ? std::optional<gdi::Rect>(*rect) : std::nullopt);
        if (window->invalidation_log.size() > 100000) window->invalidation_log.pop_front();
        gdi::Rect area = window->client_rect();
        if (rect) {
            // A reversed rectangle names the same pixels as its normal form.
            gdi::Rect normal{std::min(rect->left, rect->right), std::min(rect->top, rect->bottom),
                             std::max(rect->left, rect->right), std::max(rect->top, rect->bottom)};
            area = intersect(area, normal);
        }
        if (is_empty(area)) return;
        was_valid = !window->invalid.has_value();
        window->invalid = window->invalid ? bounding(*window->invalid, area) : area;
        window->erase_pending = window->erase_pending || erase;
    }
    if (was_valid) window->owner->mark_busy_and_wake();
}

gdi::DeviceContext* begin_paint(Window* handle, PaintInfo* paint) {
    auto window = owned_window(handle);
    if (!window || !paint) return nullptr;
    gdi::Rect area;
    bool erase;
    {
        std::lock_guard lock(window->mutex);
        area = window->invalid.value_or(gdi::Rect{});
        erase = window->erase_pending;
        window->invalid.reset();
        window->erase_pending = false;
    }
    gdi::DeviceContext* dc = screen_dc(*window);
    if (dc) dc->clip = area;
    paint->dc = dc;
    paint->paint = area;
    if (dc && erase && !is_empty(area)) call_procedure(handle, WM_ERASEBKGND, reinterpret_cast<std::uintptr_t>(dc), 0);
    return dc;
}

void end_paint(Window* handle, const PaintInfo* paint) {
    auto window = owned_window(handle);
    if (!window || !paint) return;
    present_rect(*window, paint->paint);
    if (paint->dc) gdi::delete_dc(paint->dc);
}

void present_rect(Window& window, gdi::Rect rect) {
    if (!window.screen_bitmap) return;
    const gdi::Bitmap& image = *window.screen_bitmap;
    rect = intersect(rect, {0, 0, image.width(), image.height()});
    if (is_empty(rect)) return;
    {
        std::lock_guard lock(window.mutex);
        const WindowGeometry& g = window.geometry;
        copy_scaled(image, rect, g.scale, window.presented.data(), g.screen_client_width());
    }
    if (window.native) window.native->present(image, rect);
}

gdi::DeviceContext* get_dc(Window* handle) {
    if (!handle) return gdi::create_compatible_dc(nullptr);  // the screen's context
    auto window = owned_window(handle);
    return window ? screen_dc(*window) : nullptr;
}

void release_dc(Window* handle, gdi::DeviceContext* dc) {
    if (!dc) return;
    if (!handle) {
        gdi::delete_dc(dc);
        return;
    }
    if (auto window = owned_window(handle)) present_rect(*window, window->client_rect());
    gdi::delete_dc(dc);
}

void update_window(Window* handle) {
    auto window = owned_window(handle);
    if (!window) return;
    bool paint_now;
    {
        std::lock_guard lock(window->mutex);
        paint_now = window->visible && window->invalid.has_value();
    }
    if (paint_now) call_procedure(handle, WM_PAINT, 0, 0);
}

}  // namespace klv::ui

// Painting while a dialog program of the desktop is open.
#include <vector>

#include "platform/ui/backend.h"
#include "platform/ui/save_dialog.h"
#include "platform/ui/thread_queue.h"
#include "platform/ui/window_internal.h"

namespace klv::ui {

void paint_pending_windows() {
    ThreadQueue* queue = existing_queue();
    if (queue == nullptr) return;
    if (queue->display) queue->display->pump(*queue);
    std::vector<Window*> to_paint;
    for (auto& window : queue->windows) {
        std::lock_guard lock(window->mutex);
        if (window->visible && window->invalid) to_paint.push_back(window.get());
    }
    for (Window* window : to_paint) call_procedure(window, WM_PAINT, 0, 0);
}

}  // namespace klv::ui

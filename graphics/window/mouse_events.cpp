#include "graphics/window/mouse_events.h"

#include <mutex>

#include "graphics/draw/drawing_context.h"

namespace klv {

namespace {

bool valid_kind(int kind) { return kind >= 0 && kind < mouse_kind_count; }

}  // namespace

// The queue and the position are updated before the handler runs; no lock is
// held while it runs, so a handler may call the library.
void record_mouse_event(WindowState* state, std::uint32_t message, std::intptr_t lparam) {
    const std::size_t kind = message - ui::WM_MOUSEMOVE;
    const auto packed = std::uint32_t(lparam);
    MouseHandler handler = nullptr;
    {
        std::lock_guard lock(state->mouse_mutex);
        ClickQueue& queue = state->click_queue[kind];
        if (!state->keep_all_clicks[kind]) queue.positions.clear();
        queue.positions.push_back(packed);
        state->mouse_position = packed;
        handler = state->mouse_handler[kind];
    }
    if (handler == nullptr) return;
    struct Running {
        Running() { handlers_running.fetch_add(1); }
        ~Running() { handlers_running.fetch_sub(1); }
    } running;
    handler(ui::lparam_x(lparam), ui::lparam_y(lparam));
}

}  // namespace klv

using namespace klv;

extern "C" int has_mouse_event(int kind) {
    WindowState* state = current_window_state(nullptr);
    if (!valid_kind(kind)) return 0;
    std::lock_guard lock(state->mouse_mutex);
    return state->click_queue[std::size_t(kind)].positions.empty() ? 0 : 1;
}

extern "C" int take_mouse_event(int kind, int* x, int* y) {
    WindowState* state = current_window_state(nullptr);
    int found = 0, taken_x = -1, taken_y = -1;
    if (valid_kind(kind)) {
        std::lock_guard lock(state->mouse_mutex);
        auto& positions = state->click_queue[std::size_t(kind)].positions;
        if (!positions.empty()) {
            taken_x = ui::lparam_x(positions.front());
            taken_y = ui::lparam_y(positions.front());
            positions.pop_front();
            found = 1;
        }
    }
    if (x != nullptr) *x = taken_x;
    if (y != nullptr) *y = taken_y;
    return found;
}

extern "C" void clear_mouse_events(int kind) {
    WindowState* state = current_window_state(nullptr);
    if (!valid_kind(kind)) return;
    std::lock_guard lock(state->mouse_mutex);
    state->click_queue[std::size_t(kind)].positions.clear();
}

extern "C" void keep_mouse_events(int kind, int keep) {
    WindowState* state = current_window_state(nullptr);
    if (!valid_kind(kind)) return;
    std::lock_guard lock(state->mouse_mutex);
    state->keep_all_clicks[std::size_t(kind)] = keep != 0;
}

extern "C" void set_mouse_handler(int kind, void (*handler)(int x, int y)) {
    WindowState* state = current_window_state(nullptr);
    if (!valid_kind(kind)) return;
    std::lock_guard lock(state->mouse_mutex);
    state->mouse_handler[std::size_t(kind)] = handler;
}

extern "C" int get_mouse_x(void) {
    WindowState* state = current_window_state(nullptr);
    std::lock_guard lock(state->mouse_mutex);
    return ui::lparam_x(state->mouse_position);
}

extern "C" int get_mouse_y(void) {
    WindowState* state = current_window_state(nullptr);
    std::lock_guard lock(state->mouse_mutex);
    return ui::lparam_y(state->mouse_position);
}

// Get, translate, dispatch, post and send: the calling thread's message loop.
#include <algorithm>
#include <chrono>

#include "platform/ui/backend.h"
#include "platform/ui/input.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/modal_loop.h"
#include "platform/ui/registry.h"
#include "platform/ui/thread_queue.h"
#include "platform/ui/window_internal.h"

namespace klv::ui {

std::intptr_t call_procedure(Window* handle, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
    auto window = find_window(handle);
    if (!window) return 0;
    WindowProcedure procedure = window->window_class.procedure;
    return procedure ? procedure(handle, message, wparam, lparam) : default_procedure(handle, message, wparam, lparam);
}

namespace {

// Runs the messages other threads sent to this thread's windows.
void run_incoming_sends(ThreadQueue& queue) {
    while (auto sent = queue.take_send()) {
        auto window = find_window(sent->message.window);
        std::intptr_t result = 0;
        if (window && window->owner.get() == &queue) {
            const Message& m = sent->message;
            result = call_procedure(m.window, m.message, m.wparam, m.lparam);
        }
        sent->sender->complete(*sent, result);
    }
}

// Paints follow each other at most this often, so that a program drawing
// many shapes in a row is not held up by a repaint after every one of them.
constexpr auto paint_interval = std::chrono::milliseconds(8);

struct PaintDue {
    Window* window = nullptr;  // a window to paint now
    int wait_ms = -1;          // else: how long until one is due (-1: none invalid)
};

PaintDue window_needing_paint(ThreadQueue& queue) {
    const auto now = std::chrono::steady_clock::now();
    PaintDue due;
    for (auto& window : queue.windows) {
        std::lock_guard lock(window->mutex);
        if (!window->visible || !window->invalid) continue;
        const auto next = window->last_paint + paint_interval;
        if (next <= now) {
            window->last_paint = now;
            return {window.get(), 0};
        }
        const int ms = int(std::chrono::ceil<std::chrono::milliseconds>(next - now).count());
        due.wait_ms = due.wait_ms < 0 ? ms : std::min(due.wait_ms, ms);
    }
    return due;
}

// The desktop's pending events; a thread whose desktop has gone away ends
// the program here, wherever its loop runs (a dialog's too).
bool pump_desktop(ThreadQueue& queue) {
    if (!queue.display) return false;
    const bool any = queue.display->pump(queue);
    const std::string lost = queue.display->lost_desktop();
    if (!lost.empty()) desktop_lost(lost);
    return any;
}

int display_descriptor(ThreadQueue& queue) { return queue.display ? queue.display->wait_descriptor() : -1; }

// Input first passes hit testing and the double-click rule; some of it
// becomes no message at all.
bool next_input_message(ThreadQueue& queue, Message* message) {
    while (auto event = queue.take_input()) {
        if (message_from_input(*event, queue, message)) return true;
    }
    return false;
}

}  // namespace

NextMessage next_message(Message* message, int ready_fd) {
    auto queue = current_queue();
    for (;;) {
        const std::uint64_t seen = queue->activity();
        run_incoming_sends(*queue);
        pump_desktop(*queue);
        if (auto posted = queue->take_posted()) {
            *message = *posted;
            return NextMessage::message;
        }
        int exit_code = 0;
        if (queue->take_quit(&exit_code)) {
            *message = {nullptr, WM_QUIT, std::uintptr_t(exit_code), 0};
            return NextMessage::quit;
        }
        if (next_input_message(*queue, message)) return NextMessage::message;
        const PaintDue paint = window_needing_paint(*queue);
        if (paint.window != nullptr) {
            *message = {paint.window, WM_PAINT, 0, 0};
            return NextMessage::message;
        }
        // Events a call since the last pump read into the connection's own
        // buffer would not wake the wait below.
        if (pump_desktop(*queue)) continue;
        if (queue->wait(display_descriptor(*queue), seen, false, paint.wait_ms, ready_fd)) return NextMessage::ready;
    }
}

bool get_message(Message* message) {
    NextMessage next;
    do {
        next = next_message(message, -1);
    } while (next == NextMessage::ready);
    return next == NextMessage::message;
}

void translate_message(const Message& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return;
    auto queue = current_queue();
    const auto& last = queue->last_key;
    const bool from_desktop = last.window == message.window && last.message == message.message &&
                              last.wparam == message.wparam && last.lparam == message.lparam;
    const int character =
        from_desktop ? queue->last_key_character : character_for_virtual_key(std::uint32_t(message.wparam));
    if (character < 0) return;
    const std::uint32_t char_message = message.message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    queue->post({message.window, char_message, std::uintptr_t(character), message.lparam}, true);
}

std::intptr_t dispatch_message(const Message& message) {
    if (!message.window) return 0;
    auto window = find_window(message.window);
    if (!window || window->owner.get() != existing_queue()) return 0;
    return call_procedure(message.window, message.message, message.wparam, message.lparam);
}

void post_quit_message(int exit_code) { current_queue()->set_quit(exit_code); }

bool post_message(Window* handle, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
    if (!handle) return current_queue()->post({nullptr, message, wparam, lparam});
    auto window = find_window(handle);
    if (!window || !window->owner->post({handle, message, wparam, lparam})) {
        set_last_error(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    return true;
}

std::intptr_t send_message(Window* handle, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
    auto window = find_window(handle);
    if (!window) {
        set_last_error(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    auto queue = current_queue();
    if (window->owner == queue) return call_procedure(handle, message, wparam, lparam);
    auto sent = std::make_shared<SentMessage>();
    sent->message = {handle, message, wparam, lparam};
    sent->sender = queue;
    if (!window->owner->push_send(sent)) return 0;
    window.reset();  // the window may go while we wait
    // While waiting, run what others send to us, so that two threads that
    // send to each other do not wait for ever.
    while (!queue->done_waiting(*sent)) {
        run_incoming_sends(*queue);
        if (queue->done_waiting(*sent)) break;
        queue->wait(-1, 0, true);
    }
    return sent->result;
}

}  // namespace klv::ui

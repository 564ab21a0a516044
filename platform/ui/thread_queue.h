// One message queue per thread: posted messages, input from the desktop,
// messages sent from other threads, the quit flag, and the wake-up
// descriptor that other threads write to. Internal to platform/ui.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/ui/thread_wake.h"
#include "platform/ui/ui.h"

namespace klv::ui {

class ThreadDisplay;
class ThreadQueue;

// Input as the desktop delivers it, before hit testing and double clicks.
struct InputEvent {
    enum class Kind { key, mouse_move, mouse_button };
    Kind kind = Kind::key;
    Window* window = nullptr;
    // key: WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP with their lparam
    std::uint32_t message = 0;
    std::uintptr_t wparam = 0;
    std::intptr_t lparam = 0;
    int character = -1;  // the byte translate_message makes of a key down, or -1
    // mouse: screen pixels from the client area's top-left corner (outside
    // the client area: the frame); messages carry them divided by the scale
    int button = 0;  // 0 left, 1 right, 2 middle
    bool down = false;
    int x = 0;
    int y = 0;
    std::uint32_t key_flags = 0;  // MK_* held before this event
    std::uint32_t time_ms = 0;
};

// A message sent from another thread, waiting for its result.
struct SentMessage {
    Message message;
    std::intptr_t result = 0;
    bool done = false;                    // guarded by the sender's queue mutex
    std::shared_ptr<ThreadQueue> sender;  // woken when done
};

class ThreadQueue {
public:
    ThreadQueue() = default;
    ThreadQueue(const ThreadQueue&) = delete;
    ThreadQueue& operator=(const ThreadQueue&) = delete;

    // From any thread. False when the thread has ended.
    bool post(const Message& message, bool at_front = false);
    bool push_input(const InputEvent& event);
    bool push_send(const std::shared_ptr<SentMessage>& sent);
    void mark_busy_and_wake();  // something new to handle (an invalidation)
    void complete(SentMessage& sent, std::intptr_t result);
    std::size_t sends_waiting() const;  // sent, not yet taken by the owner

    // On the owning thread.
    std::optional<Message> take_posted();
    std::optional<InputEvent> take_input();
    std::shared_ptr<SentMessage> take_send();
    bool take_quit(int* exit_code);
    void set_quit(int exit_code);
    // Blocks until woken or the display's descriptor is readable. Marks the
    // thread idle while it waits with nothing to do. A sender waiting for its
    // answer only cares for incoming sends.
    // `seen` is activity() from before the caller looked for work: anything
    // that arrived since keeps the thread from being reported idle.
    // `paint_in_ms`: a paint falls due after that many milliseconds; the
    // thread is not idle meanwhile (-1: nothing to paint).
    // `ready_fd`: a descriptor a modal wait also watches (a dialog program's
    // answer); true when it is readable.
    bool wait(int display_fd, std::uint64_t seen, bool sends_only = false, int paint_in_ms = -1, int ready_fd = -1);
    std::uint64_t activity() const;
    bool done_waiting(const SentMessage& sent);
    // The thread ends: later posts fail, waiting senders get 0.
    void end();

    // From any thread: true once the owner waits with nothing to do.
    bool wait_idle(int timeout_ms);
    bool ended() const;

    std::vector<std::shared_ptr<Window>> windows;  // owning thread only
    std::unique_ptr<ThreadDisplay> display;       // owning thread only
    Message last_key;                              // the last key down get_message gave
    int last_key_character = -1;

private:
    void wake();

    mutable std::mutex mutex_;
    std::condition_variable idle_changed_;
    std::deque<Message> posted_;
    std::deque<InputEvent> input_;
    std::deque<std::shared_ptr<SentMessage>> sent_;
    bool quit_ = false;
    int quit_code_ = 0;
    bool ended_ = false;
    bool idle_ = false;
    std::uint64_t activity_ = 0;  // grows with everything that gives the thread work
    ThreadWake wake_;
};

// The calling thread's queue, made on first use; the thread's windows are
// destroyed when the thread ends.
std::shared_ptr<ThreadQueue> current_queue();
// The calling thread's queue if it has one already.
ThreadQueue* existing_queue();

}  // namespace klv::ui

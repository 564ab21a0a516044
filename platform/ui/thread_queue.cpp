#include "platform/ui/thread_queue.h"

#include <chrono>

#include "platform/ui/backend.h"
#include "platform/ui/registry.h"
#include "platform/threads/thread_object.h"

namespace klv::ui {

void ThreadQueue::wake() { wake_.wake(); }

bool ThreadQueue::post(const Message& message, bool at_front) {
    {
        std::lock_guard lock(mutex_);
        if (ended_) return false;
        if (at_front) {
            posted_.push_front(message);
        } else {
            posted_.push_back(message);
        }
        idle_ = false;
        ++activity_;
    }
    wake();
    return true;
}

bool ThreadQueue::push_input(const InputEvent& event) {
    {
        std::lock_guard lock(mutex_);
        if (ended_) return false;
        input_.push_back(event);
        idle_ = false;
        ++activity_;
    }
    wake();
    return true;
}

bool ThreadQueue::push_send(const std::shared_ptr<SentMessage>& sent) {
    {
        std::lock_guard lock(mutex_);
        if (ended_) return false;
        sent_.push_back(sent);
        idle_ = false;
        ++activity_;
    }
    wake();
    return true;
}

std::size_t ThreadQueue::sends_waiting() const {
    std::lock_guard lock(mutex_);
    return sent_.size();
}

void ThreadQueue::mark_busy_and_wake() {
    {
        std::lock_guard lock(mutex_);
        if (ended_) return;
        idle_ = false;
        ++activity_;
    }
    wake();
}

void ThreadQueue::complete(SentMessage& sent, std::intptr_t result) {
    {
        std::lock_guard lock(mutex_);
        sent.result = result;
        sent.done = true;
    }
    wake();
}

bool ThreadQueue::done_waiting(const SentMessage& sent) {
    std::lock_guard lock(mutex_);
    return sent.done;
}

std::optional<Message> ThreadQueue::take_posted() {
    std::lock_guard lock(mutex_);
    if (posted_.empty()) return std::nullopt;
    Message message = posted_.front();
    posted_.pop_front();
    return message;
}

std::optional<InputEvent> ThreadQueue::take_input() {
    std::lock_guard lock(mutex_);
    if (input_.empty()) return std::nullopt;
    InputEvent event = input_.front();
    input_.pop_front();
    return event;
}

std::shared_ptr<SentMessage> ThreadQueue::take_send() {
    std::lock_guard lock(mutex_);
    if (sent_.empty()) return nullptr;
    auto sent = sent_.front();
    sent_.pop_front();
    return sent;
}

bool ThreadQueue::take_quit(int* exit_code) {
    std::lock_guard lock(mutex_);
    if (!quit_) return false;
    quit_ = false;
    *exit_code = quit_code_;
    return true;
}

void ThreadQueue::set_quit(int exit_code) {
    std::lock_guard lock(mutex_);
    quit_ = true;
    quit_code_ = exit_code;
    idle_ = false;
}

std::uint64_t ThreadQueue::activity() const {
    std::lock_guard lock(mutex_);
    return activity_;
}

bool ThreadQueue::wait(int display_fd, std::uint64_t seen, bool sends_only, int paint_in_ms, int ready_fd) {
    {
        std::lock_guard lock(mutex_);
        const bool queued = sends_only ? !sent_.empty() : !posted_.empty() || !input_.empty() || !sent_.empty() || quit_;
        if (queued) return false;
        if (!sends_only && paint_in_ms < 0 && seen == activity_ && !idle_) {
            idle_ = true;
            idle_changed_.notify_all();
        }
    }
    // Without a paint due, the time-out only guards against a lost wake-up.
    return wake_.wait(display_fd, paint_in_ms >= 0 ? paint_in_ms : 1000, ready_fd);
}

bool ThreadQueue::wait_idle(int timeout_ms) {
    std::unique_lock lock(mutex_);
    return idle_changed_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [this] { return idle_ || ended_; }) &&
           !ended_;
}

bool ThreadQueue::ended() const {
    std::lock_guard lock(mutex_);
    return ended_;
}

void ThreadQueue::end() {
    std::deque<std::shared_ptr<SentMessage>> waiting;
    {
        std::lock_guard lock(mutex_);
        ended_ = true;
        waiting.swap(sent_);
        posted_.clear();
        input_.clear();
        idle_changed_.notify_all();
    }
    for (auto& sent : waiting) sent->sender->complete(*sent, 0);
}

namespace {

// Ends the queue and destroys the thread's windows when the thread ends.
struct ThreadQueueHolder {
    std::shared_ptr<ThreadQueue> queue;
    ~ThreadQueueHolder() {
        if (!queue) return;
        queue->end();
        release_thread_windows(*queue);
        queue->display.reset();
    }
};

}  // namespace

std::shared_ptr<ThreadQueue> current_queue() {
    auto& holder = threads::thread_object<ThreadQueueHolder>();
    if (!holder.queue) holder.queue = std::make_shared<ThreadQueue>();
    return holder.queue;
}

ThreadQueue* existing_queue() { return threads::thread_object<ThreadQueueHolder>().queue.get(); }

}  // namespace klv::ui

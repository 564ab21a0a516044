#include "platform/ui/modal_loop.h"

#include "platform/ui/registry.h"
#include "platform/ui/thread_queue.h"
#include "platform/ui/window_record.h"

namespace klv::ui {

namespace {

// The owner goes back to the state it had, so that nested dialogs restore
// each other's.
class DisabledWhileOpen {
public:
    explicit DisabledWhileOpen(Window* handle) : window_(find_window(handle)) {
        if (window_) was_enabled_ = window_->enabled.exchange(false);
    }
    ~DisabledWhileOpen() {
        if (window_) window_->enabled = was_enabled_;
    }
    DisabledWhileOpen(const DisabledWhileOpen&) = delete;
    DisabledWhileOpen& operator=(const DisabledWhileOpen&) = delete;

private:
    std::shared_ptr<Window> window_;
    bool was_enabled_ = true;
};

}  // namespace

bool run_modal_loop(Window* owner, const std::function<bool()>& finished, int ready_fd,
                    const std::function<void()>& on_ready) {
    DisabledWhileOpen disabled(owner);
    while (!finished()) {
        Message message;
        switch (next_message(&message, ready_fd)) {
            case NextMessage::quit: current_queue()->set_quit(int(message.wparam)); return false;
            case NextMessage::ready:
                if (on_ready) on_ready();
                break;
            case NextMessage::message:
                translate_message(message);
                dispatch_message(message);
                break;
        }
    }
    return true;
}

}  // namespace klv::ui

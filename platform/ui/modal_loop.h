// Waiting for a dialog on the window's own thread: the thread keeps running
// its messages (paints, close requests, messages other threads send) while
// the dialog's owner takes no input, as a disabled window. Internal to
// platform/ui.
#pragma once

#include <functional>

#include "platform/ui/ui.h"

namespace klv::ui {

enum class NextMessage { message, quit, ready };

// The calling thread's next message, as get_message takes it: `message`,
// or `quit` once WM_QUIT is taken. With a `ready_fd` of 0 or more, `ready`
// as soon as that descriptor is readable and nothing else is to be done.
NextMessage next_message(Message* message, int ready_fd);

// Translates and dispatches the calling thread's messages until `finished`
// returns true, calling `on_ready` whenever `ready_fd` is readable. `owner`
// (may be null) takes no mouse or key input meanwhile. False when the thread
// was asked to quit: the loop ends early and WM_QUIT stays queued for the
// thread's own loop.
bool run_modal_loop(Window* owner, const std::function<bool()>& finished, int ready_fd = -1,
                    const std::function<void()>& on_ready = {});

}  // namespace klv::ui

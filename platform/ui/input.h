// From desktop input to messages: hit testing, the frame drag, the system
// menu's mouse gesture and double clicks. Shared by every backend.
#pragma once

#include "platform/ui/thread_queue.h"

namespace klv::ui {

// On the owning thread: the message the event becomes, or false when it
// becomes none (a click on the frame, a drag, the wheel).
bool message_from_input(const InputEvent& event, ThreadQueue& queue, Message* message);

// The message number of a button press or release (0 left, 1 right, 2 middle).
std::uint32_t button_message(int button, bool down, bool double_click);
std::uint32_t button_flag(int button);

}  // namespace klv::ui

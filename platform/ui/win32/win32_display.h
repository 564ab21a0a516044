// The native backend on Windows: real USER32 windows. Internal to platform/ui.
#pragma once

#include <memory>

#include "platform/ui/backend.h"

namespace klv::ui {

// The calling thread's connection to its USER32 queue; never fails.
std::unique_ptr<ThreadDisplay> open_win32_display();

}  // namespace klv::ui

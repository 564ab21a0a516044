// The native backend on Windows: real USER32 windows. Internal to platform/ui.
#pragma once

#include <memory>

#include "platform/ui/backend.h"

struct HWND__;  // USER32's window handle (HWND)

namespace klv::ui {

// The calling thread's connection to its USER32 queue; never fails.
std::unique_ptr<ThreadDisplay> open_win32_display();

// The real window of a record, for the dialogs it owns: null for no record,
// a record without one (headless), or one of another thread (a dialog owned
// across threads would tie the two threads' input together).
HWND__* owner_handle(Window* window);

}  // namespace klv::ui

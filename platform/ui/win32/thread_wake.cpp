// The wake-up is an event; the wait also ends when the thread's USER32 queue
// has input, so that the message loop pumps the desktop's messages in time.
#include "platform/ui/thread_wake.h"

#include <windows.h>

namespace klv::ui {

namespace {
HANDLE event_of(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
}  // namespace

ThreadWake::ThreadWake() : handle_(reinterpret_cast<std::intptr_t>(CreateEventA(nullptr, FALSE, FALSE, nullptr))) {}

ThreadWake::~ThreadWake() {
    if (handle_ != 0) CloseHandle(event_of(handle_));
}

void ThreadWake::wake() {
    if (handle_ != 0) SetEvent(event_of(handle_));
}

// Windows has no dialog programs: its dialogs are the system's own.
bool ThreadWake::wait(int /*display_fd*/, int timeout_ms, int /*ready_fd*/) {
    HANDLE event = event_of(handle_);
    MsgWaitForMultipleObjectsEx(handle_ != 0 ? 1 : 0, &event, DWORD(timeout_ms), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    return false;
}

}  // namespace klv::ui

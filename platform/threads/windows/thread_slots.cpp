// Fiber-local storage slots: their callback runs when a thread ends.
#include "platform/threads/thread_object.h"

// KERNEL32 last: its macros must not meet our own names above.
#include <windows.h>

namespace klv::threads {

std::uint32_t new_thread_slot(void (*destroy)(void*)) {
    return FlsAlloc(reinterpret_cast<PFLS_CALLBACK_FUNCTION>(reinterpret_cast<void*>(destroy)));
}

void* thread_slot_value(std::uint32_t slot) { return FlsGetValue(slot); }

void set_thread_slot_value(std::uint32_t slot, void* value) { FlsSetValue(slot, value); }

}  // namespace klv::threads

// An object of the calling thread: made on first use, destroyed when the
// thread ends. On Linux that is a thread_local. On Windows the compiler's
// emulated thread-local storage frees a thread's variables before the
// destructors of its thread_local objects run (they would then work on freed
// memory), so there such objects live in the system's fiber-local storage,
// whose callback destroys them when the thread ends. Plain thread_local
// values without destructors are fine on both sides.
#pragma once

#include <cstdint>

namespace klv::threads {

#ifdef _WIN32

std::uint32_t new_thread_slot(void (*destroy)(void*));  // FlsAlloc
void* thread_slot_value(std::uint32_t slot);              // FlsGetValue
void set_thread_slot_value(std::uint32_t slot, void* value);  // FlsSetValue

template <class T>
T& thread_object() {
    static const std::uint32_t slot = new_thread_slot([](void* object) { delete static_cast<T*>(object); });
    if (void* object = thread_slot_value(slot)) return *static_cast<T*>(object);
    T* made = new T();
    set_thread_slot_value(slot, made);
    return *made;
}

#else

template <class T>
T& thread_object() {
    thread_local T object;
    return object;
}

#endif

}  // namespace klv::threads

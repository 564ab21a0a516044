// The window class of the library and the way it reports failures.
#pragma once

namespace klv {

constexpr const char* library_class_name = "KLVLibrary";

// Registers the class on the first call (reason 1); later calls do nothing
// and answer true. Reason 0 unregisters it.
bool init_library(void* instance, int reason);
bool register_library_class();

// Shows text in a message box captioned "Error"; with null, the system's
// description of the calling thread's last error.
void report_system_error(const char* text);

}  // namespace klv

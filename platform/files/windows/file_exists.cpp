#include "platform/files/whole_file_write.h"

// KERNEL32 last: its macros must not meet our own names above.
#include <windows.h>

namespace klv::files {

bool file_exists(const std::string& name) { return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace klv::files

#include <sys/stat.h>

#include "platform/files/whole_file_write.h"

namespace klv::files {

bool file_exists(const std::string& name) {
    struct stat status {};
    return lstat(name.c_str(), &status) == 0;
}

}  // namespace klv::files

#include "platform/files/whole_file_write.h"

#include "platform/files/replacing_file.h"

namespace klv::files {

bool write_whole_file(const char* file_name, std::initializer_list<std::span<const std::uint8_t>> parts) {
    ReplacingFile file;
    if (!file.open(file_name)) return false;
    for (const auto& part : parts)
        if (!file.write(part)) return false;
    return file.commit();
}

}  // namespace klv::files

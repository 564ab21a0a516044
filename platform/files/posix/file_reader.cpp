#include "platform/files/file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace klv::files {

FileReader::FileReader(const char* file_name) {
    const int fd = open(file_name, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return;
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(fd);
        return;
    }
    handle_ = fd;
    size_ = std::uint64_t(status.st_size);
}

FileReader::~FileReader() {
    if (ok()) close(int(handle_));
}

bool FileReader::read(std::uint64_t offset, void* to, std::size_t count) {
    auto* bytes = static_cast<std::uint8_t*>(to);
    while (count > 0) {
        const ssize_t got = pread(int(handle_), bytes, count, off_t(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        bytes += got;
        offset += std::uint64_t(got);
        count -= std::size_t(got);
    }
    return true;
}

}  // namespace klv::files

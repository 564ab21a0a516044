#include "graphics/picture/file_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace klv {

FileSource::FileSource(const char* file_name) {
    fd_ = open(file_name, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) return;
    struct stat status {};
    if (fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(fd_);
        fd_ = -1;
        return;
    }
    size_ = std::uint64_t(status.st_size);
}

FileSource::~FileSource() {
    if (fd_ >= 0) close(fd_);
}

// A file that shrinks while it is read gives a short read: false.
bool FileSource::read(std::uint64_t offset, void* to, std::size_t count) {
    auto* bytes = static_cast<std::uint8_t*>(to);
    while (count > 0) {
        const ssize_t got = pread(fd_, bytes, count, off_t(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        bytes += got;
        offset += std::uint64_t(got);
        count -= std::size_t(got);
    }
    return true;
}

}  // namespace klv

#include "platform/files/whole_file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

namespace klv::files {

namespace {

// The file that the name stands for: a symbolic link's destination.
std::string target_of(const char* file_name) {
    struct stat link_status {};
    if (lstat(file_name, &link_status) == 0 && S_ISLNK(link_status.st_mode)) {
        char resolved[PATH_MAX];
        if (realpath(file_name, resolved) != nullptr) return resolved;
    }
    return file_name;
}

std::string folder_of(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Creates a new file of ours next to the target; -1 when the folder does not take one.
int create_temporary(const std::string& folder, std::string& name) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + "/.klv-save-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".tmp";
        int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool write_all(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes = bytes.subspan(std::size_t(written));
    }
    return true;
}

// A file that is replaced passes its permission bits on, and the new bytes
// are flushed to disk before the rename, so that even a power failure leaves
// the old file or the new one. A new file is not flushed: nothing is lost if
// it does not survive, and the flush costs more than the whole save.
bool prepare_to_replace(int fd, const std::string& target) {
    struct stat status {};
    if (stat(target.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return true;
    (void)fchmod(fd, status.st_mode & 07777);
    return fsync(fd) == 0;
}

bool fill_and_close(int fd, const std::string& target, std::initializer_list<std::span<const std::uint8_t>> parts) {
    bool ok = true;
    for (const auto& part : parts) ok = ok && write_all(fd, part);
    ok = ok && prepare_to_replace(fd, target);
    return close(fd) == 0 && ok;
}

}  // namespace

bool file_exists(const std::string& name) {
    struct stat status {};
    return lstat(name.c_str(), &status) == 0;
}

bool write_whole_file(const char* file_name, std::initializer_list<std::span<const std::uint8_t>> parts) {
    if (file_name == nullptr || *file_name == '\0') return false;
    std::string target = target_of(file_name);
    std::string temporary;
    int fd = create_temporary(folder_of(target), temporary);
    if (fd < 0) return false;
    if (fill_and_close(fd, target, parts) && rename(temporary.c_str(), target.c_str()) == 0) return true;
    unlink(temporary.c_str());
    return false;
}

}  // namespace klv::files

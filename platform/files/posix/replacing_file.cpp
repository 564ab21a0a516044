#include "platform/files/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

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

// A new file is not flushed: nothing is lost if it does not survive, and the
// flush costs more than the whole save.
bool prepare_to_replace(int fd, const std::string& target) {
    struct stat status {};
    if (stat(target.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return true;
    (void)fchmod(fd, status.st_mode & 07777);
    return fsync(fd) == 0;
}

}  // namespace

bool ReplacingFile::open(const char* file_name) {
    abandon();
    if (file_name == nullptr || *file_name == '\0') return false;
    target_ = target_of(file_name);
    handle_ = create_temporary(folder_of(target_), temporary_);
    failed_ = false;
    return is_open();
}

bool ReplacingFile::write(std::span<const std::uint8_t> bytes) {
    if (!is_open() || failed_) return false;
    const int fd = int(handle_);
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return !(failed_ = true);
        bytes = bytes.subspan(std::size_t(written));
    }
    return true;
}

bool ReplacingFile::commit() {
    if (!is_open()) return false;
    const int fd = int(std::exchange(handle_, no_handle));
    bool ok = !failed_ && prepare_to_replace(fd, target_);
    ok = close(fd) == 0 && ok;
    if (ok && rename(temporary_.c_str(), target_.c_str()) == 0) return true;
    unlink(temporary_.c_str());
    return false;
}

void ReplacingFile::abandon() {
    if (!is_open()) return;
    close(int(std::exchange(handle_, no_handle)));
    unlink(temporary_.c_str());
}

}  // namespace klv::files

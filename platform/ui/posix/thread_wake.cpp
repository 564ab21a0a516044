// The wake-up is an eventfd, polled together with the display's descriptor.
#include "platform/ui/thread_wake.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>

namespace klv::ui {

ThreadWake::ThreadWake() : handle_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

ThreadWake::~ThreadWake() {
    if (handle_ >= 0) close(int(handle_));
}

void ThreadWake::wake() {
    if (handle_ < 0) return;
    const std::uint64_t one = 1;
    ssize_t written;
    do {
        written = write(int(handle_), &one, sizeof one);
    } while (written < 0 && errno == EINTR);
}

bool ThreadWake::wait(int display_fd, int timeout_ms, int ready_fd) {
    // poll skips a descriptor of -1.
    pollfd fds[3] = {{int(handle_), POLLIN, 0}, {display_fd, POLLIN, 0}, {ready_fd, POLLIN, 0}};
    if (poll(fds, 3, timeout_ms) <= 0) return false;
    if (fds[0].revents & POLLIN) {
        std::uint64_t value;
        [[maybe_unused]] ssize_t got = read(int(handle_), &value, sizeof value);
    }
    return ready_fd >= 0 && fds[2].revents != 0;
}

}  // namespace klv::ui

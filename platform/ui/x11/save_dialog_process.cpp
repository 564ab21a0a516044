#include "platform/ui/x11/save_dialog_process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/ui/save_dialog.h"

extern char** environ;

namespace klv::ui {

namespace {

constexpr int paint_interval_ms = 50;

bool is_executable_file(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && access(path.c_str(), X_OK) == 0;
}

pid_t spawn_with_output(const std::vector<std::string>& arguments, int output_fd) {
    std::vector<char*> argv;
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output_fd, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Reads until the program closes its output, painting between waits.
std::string read_all_painting(int fd) {
    std::string output;
    char buffer[4096];
    for (;;) {
        pollfd watch{fd, POLLIN, 0};
        int ready = poll(&watch, 1, paint_interval_ms);
        if (ready < 0 && errno != EINTR) break;
        if (ready > 0) {
            ssize_t got = read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            output.append(buffer, std::size_t(got));
        }
        paint_pending_windows();
    }
    return output;
}

int wait_for_exit(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

std::string find_program(const std::string& name) {
    if (name.find('/') != std::string::npos) return is_executable_file(name) ? name : std::string();
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        std::string folder = folders.substr(start, end - start);
        std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        if (is_executable_file(candidate)) return candidate;
        start = end + 1;
    }
    return {};
}

std::optional<ProgramAnswer> run_dialog_program(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return std::nullopt;
    int pipe_fds[2];
    if (pipe2(pipe_fds, O_CLOEXEC) != 0) return std::nullopt;
    pid_t pid = spawn_with_output(arguments, pipe_fds[1]);
    close(pipe_fds[1]);
    if (pid < 0) {
        close(pipe_fds[0]);
        return std::nullopt;
    }
    ProgramAnswer answer;
    answer.output = read_all_painting(pipe_fds[0]);
    close(pipe_fds[0]);
    answer.exit_code = wait_for_exit(pid);
    return answer;
}

}  // namespace klv::ui

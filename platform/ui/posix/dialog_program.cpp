#include "platform/ui/dialog_program.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <set>

#include "platform/ui/backend.h"
#include "platform/ui/modal_loop.h"
#include "platform/ui/registry.h"
#include "platform/ui/thread_queue.h"
#include "platform/ui/window_record.h"

extern char** environ;

namespace klv::ui {

namespace {

bool is_executable_file(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The dialog programs running now, ended when the process exits (a close
// request can end it while a dialog is open).
class RunningPrograms {
public:
    static RunningPrograms& instance() {
        static auto* programs = new RunningPrograms;  // outlives the exit handlers
        return *programs;
    }
    void add(pid_t pid) {
        std::lock_guard lock(mutex_);
        static const bool registered = (std::atexit([] { instance().end_all(); }), true);
        (void)registered;
        pids_.insert(pid);
    }
    void remove(pid_t pid) {
        std::lock_guard lock(mutex_);
        pids_.erase(pid);
    }

private:
    void end_all() {
        std::lock_guard lock(mutex_);
        for (pid_t pid : pids_) kill(pid, SIGTERM);
    }
    std::mutex mutex_;
    std::set<pid_t> pids_;
};

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

int wait_for_exit(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Reads what the program wrote so far; true once it has closed its output.
bool read_available(int fd, std::string& output) {
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got > 0) {
            output.append(buffer, std::size_t(got));
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        return !(got < 0 && errno == EAGAIN);
    }
}

// The owner's desktop window, when the owner belongs to the calling thread
// (only that thread may use it).
NativeWindow* owner_native(Window* owner) {
    auto window = find_window(owner);
    return window && window->owner.get() == existing_queue() ? window->native.get() : nullptr;
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

std::string desktop_window_id(Window* owner) {
    auto window = find_window(owner);
    const unsigned long id = window && window->native ? window->native->desktop_id() : 0;
    return id != 0 ? std::to_string(id) : std::string();
}

std::optional<ProgramAnswer> run_dialog_program(Window* owner, const std::vector<std::string>& arguments) {
    if (arguments.empty()) return std::nullopt;
    int pipe_fds[2];
    if (pipe2(pipe_fds, O_CLOEXEC | O_NONBLOCK) != 0) return std::nullopt;
    NativeWindow* native = owner_native(owner);
    if (native) native->dialog_program_starting();
    const pid_t pid = spawn_with_output(arguments, pipe_fds[1]);
    close(pipe_fds[1]);
    if (pid < 0) {
        if (native) native->dialog_program_ended(0);
        close(pipe_fds[0]);
        return std::nullopt;
    }
    if (native) native->dialog_program_started(pid);
    RunningPrograms::instance().add(pid);
    ProgramAnswer answer;
    bool closed = false;
    const bool answered = run_modal_loop(
        owner, [&] { return closed; }, pipe_fds[0], [&] { closed = read_available(pipe_fds[0], answer.output); });
    close(pipe_fds[0]);
    if (!answered) kill(pid, SIGTERM);
    RunningPrograms::instance().remove(pid);  // before it is reaped: its number may then be reused
    answer.exit_code = wait_for_exit(pid);
    if (NativeWindow* still = owner_native(owner)) still->dialog_program_ended(pid);
    if (!answered) return std::nullopt;
    return answer;
}

}  // namespace klv::ui

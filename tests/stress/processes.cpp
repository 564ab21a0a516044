#include "tests/stress/processes.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

extern char** environ;

namespace klv::test {

namespace {

using Clock = std::chrono::steady_clock;

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> result;
    for (auto& s : strings) result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

// The calling process's environment with these entries put in or replaced.
std::vector<std::string> environment_with(const std::vector<std::string>& changes) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        bool replaced = false;
        for (const auto& change : changes) replaced = replaced || change.substr(0, change.find('=')) == name;
        if (!replaced) result.push_back(text);
    }
    result.insert(result.end(), changes.begin(), changes.end());
    return result;
}

// Reads what is there within the time left; false at the deadline or at the end of the output.
bool read_some(int fd, std::string& into, Clock::time_point end) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    if (left <= 0) return false;
    pollfd ready{fd, POLLIN, 0};
    if (poll(&ready, 1, int(left)) <= 0) return false;
    char buffer[256];
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0) return false;
    into.append(buffer, std::size_t(got));
    return true;
}

void kill_and_reap(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
}

}  // namespace

PrivateXServer::PrivateXServer() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> arguments = {"Xvfb", "-displayfd", "3", "-nolisten", "tcp", "-screen", "0", "1280x1024x24"};
    if (posix_spawnp(&pid_, "Xvfb", &actions, nullptr, pointers(arguments).data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    // The number, then a newline, once the server accepts connections.
    std::string said;
    const auto end = Clock::now() + std::chrono::seconds(20);
    while (pid_ > 0 && said.find('\n') == std::string::npos && read_some(fds[0], said, end)) {
    }
    close(fds[0]);
    // Appended, not ":" + the number: GCC 12 at -O3 warns wrongly (restrict)
    // inside std::string's operator+ with a temporary on the right.
    if (said.find('\n') != std::string::npos) name_.append(":").append(said, 0, said.find('\n'));
}

PrivateXServer::~PrivateXServer() { kill_now(); }

void PrivateXServer::kill_now() {
    kill_and_reap(pid_);
    pid_ = -1;
}

ChildProcess::ChildProcess(const std::vector<std::string>& arguments, const std::vector<std::string>& environment) {
    char error_template[] = "/tmp/klv-child-stderr-XXXXXX";
    const int error_fd = mkstemp(error_template);
    if (error_fd < 0) return;
    stderr_path_ = error_template;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        close(error_fd);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, error_fd, STDERR_FILENO);
    std::vector<std::string> argv = arguments;
    std::vector<std::string> envp = environment_with(environment);
    if (posix_spawnp(&pid_, argv[0].c_str(), &actions, nullptr, pointers(argv).data(), pointers(envp).data()) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    close(error_fd);
    stdout_fd_ = fds[0];
}

ChildProcess::~ChildProcess() {
    kill_and_reap(pid_);
    if (stdout_fd_ >= 0) close(stdout_fd_);
    if (!stderr_path_.empty()) unlink(stderr_path_.c_str());
}

bool ChildProcess::wait_for_line(const std::string& line, std::chrono::milliseconds deadline) {
    const auto end = Clock::now() + deadline;
    while (stdout_seen_.find(line + "\n") == std::string::npos) {
        if (!read_some(stdout_fd_, stdout_seen_, end)) return false;
    }
    return true;
}

std::optional<int> ChildProcess::wait_for_exit(std::chrono::milliseconds deadline) {
    const auto end = Clock::now() + deadline;
    for (;;) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return status;
        }
        if (Clock::now() >= end) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));  // pacing the look, not ordering
    }
}

std::string ChildProcess::error_output() const {
    std::ifstream in(stderr_path_);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool program_installed(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace klv::test

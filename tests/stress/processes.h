// Processes for the tests on an X server of their own: a private Xvfb that a
// test may kill or flood without touching anyone else's, and programs run
// on it with their output captured.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace klv::test {

// Xvfb on a display number it picks itself (-displayfd). Killed, if still
// running, when destroyed.
class PrivateXServer {
public:
    PrivateXServer();
    ~PrivateXServer();
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    bool ok() const { return !name_.empty(); }
    const std::string& name() const { return name_; }  // ":N"
    // SIGKILL, as when the session drops; returns once it is reaped.
    void kill_now();

private:
    pid_t pid_ = -1;
    std::string name_;
};

// A program with extra environment variables ("NAME=value"), its stdout
// read through a pipe and its stderr kept in a file. Killed, if still
// running, when destroyed.
class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& arguments, const std::vector<std::string>& environment);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    // True once the program has written this line on stdout.
    bool wait_for_line(const std::string& line, std::chrono::milliseconds deadline);
    // The wait status once it ended, or nothing when it still runs at the deadline.
    std::optional<int> wait_for_exit(std::chrono::milliseconds deadline);
    // What it wrote on stderr so far.
    std::string error_output() const;

private:
    pid_t pid_ = -1;
    int stdout_fd_ = -1;
    std::string stdout_seen_;
    std::string stderr_path_;
};

// True when a program of that name is on PATH.
bool program_installed(const std::string& name);

}  // namespace klv::test

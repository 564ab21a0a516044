// The print dialog on a desktop: zenity's radio list of destinations.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/print/print_chooser.h"

extern char** environ;

namespace klv::print {
namespace {

bool on_path(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) {
            end = folders.size();
        }
        std::string candidate = folders.substr(start, end - start) + "/" + program;
        if (end > start && access(candidate.c_str(), X_OK) == 0) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

std::vector<std::string> zenity_arguments(const std::vector<std::string>& destinations, const std::string& initial) {
    std::vector<std::string> arguments = {"zenity",         "--list",        "--radiolist",
                                          "--title=Print",  "--text=Printer:", "--ok-label=Print",
                                          "--cancel-label=Cancel", "--column=", "--column=Name"};
    for (const std::string& name : destinations) {
        arguments.push_back(name == initial ? "TRUE" : "FALSE");
        arguments.push_back(name);
    }
    return arguments;
}

// Runs the program and returns what it wrote and its exit status; none when it could not run.
std::optional<std::pair<std::string, int>> run_for_output(const std::vector<std::string>& arguments) {
    int pipe_ends[2];
    if (pipe2(pipe_ends, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_ends[1]);
    std::string output;
    char buffer[512];
    ssize_t got = 0;
    while (spawned == 0 && ((got = read(pipe_ends[0], buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR))) {
        output.append(buffer, std::size_t(std::max<ssize_t>(got, 0)));
    }
    close(pipe_ends[0]);
    if (spawned != 0) {
        return std::nullopt;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return std::pair{output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

}  // namespace

std::optional<std::string> choose_with_zenity(const std::vector<std::string>& destinations,
                                              const std::string& initial) {
    std::optional<std::pair<std::string, int>> result = run_for_output(zenity_arguments(destinations, initial));
    if (!result || result->second != 0) {
        return std::nullopt;
    }
    std::string choice = result->first.substr(0, result->first.find('\n'));
    if (choice.empty()) {
        return std::nullopt;
    }
    return choice;
}

bool zenity_available() { return on_path("zenity"); }

}  // namespace klv::print

#include "tests/support/private_cups.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/print/testing.h"
#include "tests/support/eventually.h"

extern char** environ;

namespace klv::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* cupsd_path = "/usr/sbin/cupsd";
constexpr const char* cups_programs = "/usr/lib/cups";

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool write_file(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return bool(out);
}

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// Spawns the program with stdout to output_fd (or /dev/null) and stderr to /dev/null.
pid_t spawn(const std::vector<std::string>& arguments, int output_fd, const std::string& log_path = "/dev/null") {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (output_fd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, output_fd, STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log_path.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                         0644);
    }
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log_path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child = -1;
    if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        child = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return child;
}

int wait_for(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Reads a binary PPM (P6, maxval 255).
RgbImage read_ppm(const std::string& bytes) {
    std::istringstream in(bytes);
    std::string magic;
    int width = 0, height = 0, maxval = 0;
    in >> magic >> width >> height >> maxval;
    in.get();
    RgbImage image;
    if (magic != "P6" || width <= 0 || height <= 0 || maxval != 255) {
        return image;
    }
    std::size_t count = std::size_t(width) * std::size_t(height);
    std::string data(count * 3, '\0');
    if (!in.read(data.data(), std::streamsize(data.size()))) {
        return image;
    }
    image.width = width;
    image.height = height;
    image.pixels.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        auto byte = [&](std::size_t k) { return std::uint32_t(static_cast<unsigned char>(data[i * 3 + k])); };
        image.pixels[i] = (byte(0) << 16) | (byte(1) << 8) | byte(2);
    }
    return image;
}

}  // namespace

ProgramResult run_program(const std::vector<std::string>& arguments, const std::string& error_log) {
    ProgramResult result;
    int pipe_ends[2];
    if (arguments.empty() || pipe2(pipe_ends, O_CLOEXEC) != 0) {
        return result;
    }
    pid_t child = spawn(arguments, pipe_ends[1], error_log);
    close(pipe_ends[1]);
    char buffer[4096];
    ssize_t got = 0;
    while (child > 0 && ((got = read(pipe_ends[0], buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR))) {
        if (got > 0) {
            result.output.append(buffer, std::size_t(got));
        }
    }
    close(pipe_ends[0]);
    if (child > 0) {
        result.status = wait_for(child);
    }
    return result;
}

int PrintedJob::page_count() const {
    ProgramResult info = run_program({"pdfinfo", data_path});
    std::size_t at = info.output.find("\nPages:");
    if (info.status != 0 || at == std::string::npos) {
        return -1;
    }
    return std::atoi(info.output.c_str() + at + 7);
}

RgbImage PrintedJob::render(int dots_per_inch) const {
    std::string prefix = data_path + ".render";
    ProgramResult done = run_program(
        {"pdftoppm", "-r", std::to_string(dots_per_inch), "-f", "1", "-l", "1", "-singlefile", data_path, prefix});
    if (done.status != 0) {
        return {};
    }
    RgbImage image = read_ppm(read_file(prefix + ".ppm"));
    std::error_code ignored;
    fs::remove(prefix + ".ppm", ignored);
    return image;
}

PrivateCups::PrivateCups() {
    if (geteuid() != 0) {
        failure_ = "a private cupsd needs root: it runs its filters and backends as user lp";
        return;
    }
    if (access(cupsd_path, X_OK) != 0) {
        failure_ = std::string(cupsd_path) + " is not installed (Debian package cups-daemon)";
        return;
    }
    char name[] = "/tmp/klv-cups.XXXXXX";
    if (!mkdtemp(name)) {
        failure_ = "cannot make a temporary folder";
        return;
    }
    folder_ = name;
    chmod(folder_.c_str(), 0755);  // the server's user lp must pass through it
    if (!make_folders() || !write_configuration()) {
        failure_ = "cannot lay out the server's folder " + folder_;
        return;
    }
    set_environment();
    if (!start_daemon()) {
        failure_ = "cupsd did not start; its log: " + read_file(folder_ + "/log/cupsd.out") +
                   read_file(folder_ + "/log/error_log");
    }
}

PrivateCups::~PrivateCups() {
    stop_daemon();
    if (!saved_environment_.empty()) {
        restore_environment();
    }
    if (!folder_.empty()) {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
}

bool PrivateCups::make_folders() {
    std::error_code error;
    for (const char* sub : {"spool", "cache", "state", "log", "tmp", "bin/backend", "out", "ppd", "client", "home"}) {
        fs::create_directories(folder_ + "/" + sub, error);
        if (error) {
            return false;
        }
    }
    for (const char* sub : {"filter", "daemon", "cgi-bin", "notifier", "monitor", "driver"}) {
        fs::create_directory_symlink(std::string(cups_programs) + "/" + sub, folder_ + "/bin/" + sub, error);
    }
    // Mode 0700: cupsd runs the backend as root, so it may write into our folder.
    std::string backend = folder_ + "/bin/backend/klvfile";
    fs::copy_file(KLV_SOURCE_DIR "/tests/support/cups/klvfile", backend, error);
    return !error && chmod(backend.c_str(), 0700) == 0;
}

bool PrivateCups::write_configuration() {
    std::string server = read_file(KLV_SOURCE_DIR "/tests/support/cups/cupsd.conf.in");
    std::string files = read_file(KLV_SOURCE_DIR "/tests/support/cups/cups-files.conf.in");
    return !server.empty() && !files.empty() &&
           write_file(folder_ + "/cupsd.conf", replace_all(server, "@FOLDER@", folder_)) &&
           write_file(folder_ + "/cups-files.conf", replace_all(files, "@FOLDER@", folder_));
}

bool PrivateCups::start_daemon() {
    daemon_ = spawn({cupsd_path, "-f", "-c", folder_ + "/cupsd.conf", "-s", folder_ + "/cups-files.conf"}, -1,
                    folder_ + "/log/cupsd.out");
    if (daemon_ <= 0) {
        return false;
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(daemon_, &status, WNOHANG) == daemon_) {
            daemon_ = -1;
            return false;
        }
        // lpstat -r ends with status 0 either way: its words tell.
        if (run_program({"lpstat", "-r"}).output == "scheduler is running\n") {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // pacing the poll, under a deadline
    }
    return false;
}

void PrivateCups::stop_daemon() {
    if (daemon_ <= 0) {
        return;
    }
    kill(daemon_, SIGTERM);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    int status = 0;
    while (waitpid(daemon_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(daemon_, SIGKILL);
            waitpid(daemon_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));  // pacing the poll, under a deadline
    }
    daemon_ = -1;
}

void PrivateCups::set_environment() {
    const std::map<std::string, std::optional<std::string>> wanted = {
        {"CUPS_SERVER", folder_ + "/cups.sock"},  // this server, by its socket
        {"CUPS_SERVERROOT", folder_ + "/client"},  // no client.conf or lpoptions of the machine
        {"HOME", folder_ + "/home"},               // nor the user's own
        {"LPDEST", std::nullopt},
        {"PRINTER", std::nullopt},
    };
    for (const auto& [name, value] : wanted) {
        const char* old = std::getenv(name.c_str());
        saved_environment_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        if (value) {
            setenv(name.c_str(), value->c_str(), 1);
        } else {
            unsetenv(name.c_str());
        }
    }
    print::testing::forget_cups_server();
}

void PrivateCups::restore_environment() {
    for (const auto& [name, value] : saved_environment_) {
        if (value) {
            setenv(name.c_str(), value->c_str(), 1);
        } else {
            unsetenv(name.c_str());
        }
    }
    saved_environment_.clear();
    print::testing::forget_cups_server();
}

// Now and then a fresh cupsd refuses a connection ("Bad file descriptor")
// while it settles; an administration command is tried again then.
ProgramResult PrivateCups::run_command(const std::vector<std::string>& arguments) const {
    ProgramResult result;
    for (int attempt = 0; attempt < 5; ++attempt) {
        result = run_program(arguments, folder_ + "/log/commands.log");
        if (result.status == 0 || command_log().find("Unable to connect") == std::string::npos) {
            break;
        }
        std::error_code ignored;
        fs::remove(folder_ + "/log/commands.log", ignored);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));  // a retry's pause, five at most
    }
    return result;
}

std::string PrivateCups::command_log() const { return read_file(folder_ + "/log/commands.log"); }

bool PrivateCups::add_queue(const QueueSpec& queue) {
    std::vector<std::string> command = {"lpadmin", "-p", queue.name, "-E", "-v", "klvfile:" + folder_ + "/out"};
    if (!queue.resolution.empty()) {
        std::string ppd = folder_ + "/ppd/" + queue.name + ".ppd";
        std::string text = read_file(KLV_SOURCE_DIR "/tests/support/cups/klv-test.ppd");
        if (text.empty() || !write_file(ppd, replace_all(text, "@RESOLUTION@", queue.resolution))) {
            return false;
        }
        command.insert(command.end(), {"-P", ppd});
    }
    if (!queue.takes_images) {
        command.insert(command.end(), {"-o", "klv-no-images-default=true"});
    }
    if (run_command(command).status != 0) {
        return false;
    }
    return !queue.make_default || run_command({"lpadmin", "-d", queue.name}).status == 0;
}

bool PrivateCups::remove_queue(const std::string& name) { return run_command({"lpadmin", "-x", name}).status == 0; }

std::vector<PrintedJob> PrivateCups::printed_jobs() const {
    std::map<int, PrintedJob> jobs;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder_ + "/out", error)) {
        std::string file = entry.path().filename().string();
        int id = 0;
        char tail[8] = {};
        if (std::sscanf(file.c_str(), "job-%d.%5s", &id, tail) != 2 || std::string(tail) != "data") {
            continue;
        }
        std::string name = read_file(folder_ + "/out/job-" + std::to_string(id) + ".title");
        if (!name.empty() && name.back() == '\n') {
            name.pop_back();
        }
        jobs[id] = PrintedJob{id, name, entry.path().string()};
    }
    std::vector<PrintedJob> list;
    for (auto& [id, job] : jobs) {
        list.push_back(std::move(job));
    }
    return list;
}

std::vector<PrintedJob> PrivateCups::jobs_once_idle(std::chrono::milliseconds timeout) const {
    test::eventually(
        [] {
            const ProgramResult pending = run_program({"lpstat", "-o"});
            return pending.status == 0 && pending.output.empty();
        },
        timeout);
    return printed_jobs();
}

std::vector<PrintedJob> PrivateCups::wait_for_jobs(std::size_t count, std::chrono::milliseconds timeout) const {
    std::vector<PrintedJob> jobs;
    test::eventually([&] { return (jobs = printed_jobs()).size() >= count; }, timeout);
    return jobs;
}

}  // namespace klv::testing

// A private CUPS server for tests: cupsd running in the foreground on its
// own configuration, spool and socket in a temporary folder, with queues
// whose backend writes every job to a file there. While it lives, the
// process's CUPS_SERVER names its socket, so nothing on the machine is used
// or changed. Needs root (cupsd drops to user lp for filters) and cupsd.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace klv::testing {

struct QueueSpec {
    std::string name;
    // The PPD's resolution ("600dpi", "600x300dpi"); empty: a raw queue
    // without a PPD, which reports no resolution.
    std::string resolution = "600dpi";
    bool takes_images = true;
    bool make_default = false;
};

// An RGB picture: pixels 0x00RRGGBB, rows top first.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};

struct PrintedJob {
    int id = 0;
    std::string name;       // the job-name the server gave the backend
    std::string data_path;  // what the queue sent
    int page_count() const;  // pdfinfo's count; -1 when it cannot read the file
    // The first page rendered by pdftoppm at the resolution; empty on failure.
    RgbImage render(int dots_per_inch) const;
};

struct ProgramResult {
    int status = -1;  // exit status; -1 when it could not run or was killed
    std::string output;
};
// Runs a program (no shell) and collects its standard output; its error
// output is added to the file error_log.
ProgramResult run_program(const std::vector<std::string>& arguments, const std::string& error_log = "/dev/null");

class PrivateCups {
public:
    PrivateCups();   // starts cupsd; see ok()
    ~PrivateCups();  // stops cupsd, removes the folder, restores the environment
    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    bool ok() const { return failure_.empty(); }
    // Why the server could not be started (for GTEST_SKIP).
    const std::string& failure() const { return failure_; }
    const std::string& folder() const { return folder_; }
    // What the administration commands wrote to their error output.
    std::string command_log() const;

    bool add_queue(const QueueSpec& queue);
    bool remove_queue(const std::string& name);
    // The jobs the backend has written so far, by id.
    std::vector<PrintedJob> printed_jobs() const;
    // Waits until at least count jobs are written; what there is then.
    std::vector<PrintedJob> wait_for_jobs(std::size_t count,
                                          std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
    // Waits until the server lists no job waiting or printing: every job
    // sent before has then been written or dropped. The jobs written then.
    std::vector<PrintedJob> jobs_once_idle(std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

private:
    bool make_folders();
    bool write_configuration();
    bool start_daemon();
    ProgramResult run_command(const std::vector<std::string>& arguments) const;
    void stop_daemon();
    void set_environment();
    void restore_environment();

    std::string folder_;
    std::string failure_;
    pid_t daemon_ = -1;
    std::map<std::string, std::optional<std::string>> saved_environment_;
};

}  // namespace klv::testing

// A stand-in for one of the desktop's dialog programs (zenity, kdialog): a
// shell script that notes its arguments, says it is up by creating a file,
// waits until the test lets it answer (or ten seconds at most), then prints
// the answer and exits with the status given.
#pragma once

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/eventually.h"

namespace klv::test {

class StandInProgram {
public:
    // Writes `folder`/`name`. With `wait_for_release` false it answers at once.
    StandInProgram(const std::filesystem::path& folder, const std::string& name, const std::string& answer,
                   int status, bool wait_for_release = true)
        : path_((folder / name).string()) {
        std::ofstream script(path_);
        script << "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"$0.args\"\n"
               << ": > \"$0.ready\"\n";
        if (wait_for_release) {
            // Polls for the release, ten seconds at most: a deadline, not an order.
            script << "i=0\nwhile [ ! -e \"$0.release\" ] && [ $i -lt 1000 ]; do sleep 0.01; i=$((i+1)); done\n";
        }
        script << "printf '%s' '" << answer << "'\nexit " << status << "\n";
        script.close();
        chmod(path_.c_str(), 0755);
    }

    const std::string& path() const { return path_; }

    // True once the program is running and waiting (false after the deadline).
    bool wait_until_running(std::chrono::milliseconds deadline = std::chrono::seconds(10)) const {
        return eventually([&] { return std::filesystem::exists(path_ + ".ready"); }, deadline);
    }
    void release() const { std::ofstream(path_ + ".release").close(); }
    // Its arguments, one a line, from its last run.
    std::string arguments() const {
        std::ifstream in(path_ + ".args");
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::string path_;
};

}  // namespace klv::test

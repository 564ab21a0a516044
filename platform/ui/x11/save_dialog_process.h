// Running a dialog program of the desktop (zenity, kdialog) and reading its
// answer, while the calling thread's windows keep repainting.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace klv::ui {

struct ProgramAnswer {
    int exit_code = -1;  // the program's exit status; -1 when a signal ended it
    std::string output;  // what it wrote to its standard output
};

// The program's path when it is found in PATH (or the name is a path to an
// executable file); empty otherwise.
std::string find_program(const std::string& name);

// Starts arguments[0] (a path) with the rest as its arguments, standard input
// and error on /dev/null, and waits for it to end, painting the calling
// thread's windows that need it every 50 ms meanwhile. None when it cannot be
// started.
std::optional<ProgramAnswer> run_dialog_program(const std::vector<std::string>& arguments);

}  // namespace klv::ui

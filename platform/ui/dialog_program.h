// Running a dialog program of the desktop (zenity, kdialog) and reading its
// answer. Every dialog program the library starts (the save chooser, the
// replace question, the print chooser) goes through here, so that the thread
// that waits keeps painting its windows and answering close requests.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/ui/ui.h"

namespace klv::ui {

struct ProgramAnswer {
    int exit_code = -1;  // the program's exit status; -1 when a signal ended it
    std::string output;  // what it wrote to its standard output
};

// The program's path when it is found in PATH (or the name is a path to an
// executable file); empty otherwise.
std::string find_program(const std::string& name);

// The owner's window number on the desktop, in decimal, for the programs'
// option that ties a dialog to its window; empty when it has none (no
// owner, or a backend without a desktop).
std::string desktop_window_id(Window* owner);

// Starts arguments[0] (a path) with the rest as its arguments, standard input
// and error on /dev/null, and waits for it to end. Meanwhile the calling
// thread runs its messages as in a modal dialog (run_modal_loop): its windows
// repaint within the usual paint interval, close requests are answered, and
// `owner` takes no input. The windows the program opens are made dialogs of
// `owner` on the desktop (kept above it by the window manager). None when the program cannot be started, or when
// the thread is asked to quit while it runs (the program is then ended).
// A program still running when the process exits is ended too.
std::optional<ProgramAnswer> run_dialog_program(Window* owner, const std::vector<std::string>& arguments);

}  // namespace klv::ui

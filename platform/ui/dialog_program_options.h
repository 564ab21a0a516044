// Which of the desktop's dialog programs the library uses, and the options
// that give its window a title and tie it to the window it belongs to.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/ui.h"

namespace klv::ui {

// zenity where it is installed, else kdialog: the program's path, or empty
// when neither is installed.
std::string desktop_dialog_program();

// Whether the program is kdialog (its options differ from zenity's).
bool is_kdialog(const std::string& program);

// The command that runs the program with `arguments`, after the options
// that title its window and, for kdialog, make it a dialog of `owner`
// (--attach). zenity gets its title only: Debian 12's zenity 3.44 ignores
// its --attach for the file chooser and zenity 4 has none, so the backend
// ties every dialog program's windows to their owner itself
// (run_dialog_program).
std::vector<std::string> dialog_command(const std::string& program, Window* owner, const std::string& title,
                                        const std::vector<std::string>& arguments);

}  // namespace klv::ui

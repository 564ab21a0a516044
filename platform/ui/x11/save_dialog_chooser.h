// The desktop's own file chooser and question box: zenity where it is
// installed, else kdialog, each titled and tied to the window it is for.
#pragma once

#include <optional>
#include <string>

#include "platform/ui/ui.h"

namespace klv::ui {

// False when neither chooser program is installed.
bool file_chooser_installed();

// The save-file chooser, titled with the request's title and tied to its
// owner, with the request's filter, asking before an existing file is
// replaced. The chosen path; none when cancelled or when the chooser could
// not run.
std::optional<std::string> choose_save_file(const SaveFileRequest& request);

// "Replace the existing file?" with Yes and No: true for Yes. False when no
// question box could be shown.
bool ask_replace_with_chooser(Window* owner, const std::string& file_name);

}  // namespace klv::ui

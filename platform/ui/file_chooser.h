// The built-in save-file chooser, for desktops without one of their own
// (no zenity or kdialog): a dialog of ours with the current folder and what
// it holds (sub-folders and the files any of the request's filters lets
// through), a file-name field, the file types, Save and Cancel.
//
// Typing edits the name (Left, Right, Home, End, Backspace, Delete); Up and
// Down pick an entry of the list into the name; Enter saves, or opens the
// folder the name names; Escape or the close box cancels. A click picks an
// entry, a double click opens it, Save and Cancel can be clicked. An empty
// name, a missing folder or a file that cannot be written is refused with a
// line saying why; an existing file is replaced only after the question
// "... already exists. Do you want to replace it?" is answered Yes.
// Internal to platform/ui.
#pragma once

#include <optional>
#include <string>

#include "platform/ui/ui.h"

namespace klv::ui {

// The chosen file's full path; none when cancelled or when no window could
// be shown.
std::optional<std::string> run_file_chooser(const SaveFileRequest& request);

}  // namespace klv::ui

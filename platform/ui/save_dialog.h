// The save-file dialog's companion: the question before a file is replaced.
// save_file_dialog itself is declared in ui.h.
//
// On a desktop the dialogs are the desktop's own file chooser (zenity, or
// kdialog) run as a separate program; without either, the built-in chooser
// and message box of ours (file_chooser.h, message_dialog.h). The headless
// backend shows no dialogs: they answer "cancel" and "do not replace" unless
// a test scripted the answers (save_dialog_testing.h).
#pragma once

#include <string>

#include "platform/ui/ui.h"

namespace klv::ui {

// Asks, as a dialog of `owner` (may be null), whether the existing file may
// be replaced: true to replace it.
bool ask_replace_file(Window* owner, const std::string& file_name);
// After a save the user chose the name of: hands the file to them where the
// desktop does not keep files for them (a web page downloads it).
void offer_saved_file(const std::string& path);

}  // namespace klv::ui

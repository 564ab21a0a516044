// The save-file dialog's companions: the question before a file is replaced,
// and painting while another program's dialog is open. save_file_dialog
// itself is declared in ui.h.
//
// On a desktop the dialogs are the desktop's own file chooser (zenity, or
// kdialog) run as a separate program; without either, save_file_dialog
// shows a message that no file chooser is installed and answers as if
// cancelled. The headless backend shows no dialogs: they answer "cancel" and
// "do not replace" unless a test scripted the answers (save_dialog_testing.h).
#pragma once

#include <string>

namespace klv::ui {

// Asks whether the existing file may be replaced: true to replace it.
bool ask_replace_file(const std::string& file_name);

// Paints the calling thread's windows that need it (WM_PAINT through their
// procedures) after taking in the desktop's pending events, and returns at
// once. Posted messages, input and messages sent from other threads wait
// until the dialog is closed. For modal waits on the window thread.
void paint_pending_windows();

}  // namespace klv::ui

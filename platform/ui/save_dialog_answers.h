// The answers tests gave the dialogs (save_dialog_testing.h). Internal to platform/ui.
#pragma once

#include <optional>
#include <string>

namespace klv::ui {

// Counts a save-file dialog; the scripted answer if there is one (an inner
// nullopt: cancelled).
std::optional<std::optional<std::string>> take_scripted_save_answer();
// Counts a replace question; the scripted answer if there is one.
std::optional<bool> take_scripted_overwrite_answer();

}  // namespace klv::ui

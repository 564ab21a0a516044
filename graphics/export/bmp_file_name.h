// The name a saved image gets: the one given, or the one the user picks.
#pragma once

#include <optional>
#include <string>

#include "platform/ui/ui.h"

namespace klv {

// Keeps a name whose fourth character from the end is a dot (any
// three-character extension: ".bmp" and ".png" among them), and a name of
// 256 characters or more; appends ".BMP" to every other name.
std::string with_bmp_extension(const std::string& name);

// Asks for a file name in the save-file dialog ("Save image as", "Bitmap
// files (*.bmp)", then "PNG files (*.png)"), as a dialog of `owner` (may be
// null), and applies the extension rule; a name ending in ".png" is saved as
// PNG. When the rule appended ".BMP" and a file of
// that longer name exists, asks whether to replace it, since the dialog's own
// question was about the name as typed. None when the user cancels either
// question or picks no name.
std::optional<std::string> ask_bmp_file_name(ui::Window* owner);

}  // namespace klv

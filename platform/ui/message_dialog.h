// The message box of our own, on every backend that has windows: the text,
// its lines wrapped to fit, above a row of buttons (MB_OK: OK; MB_OKCANCEL:
// OK, Cancel; MB_YESNO: Yes, No). Enter or Space presses the focused button
// (the first, or the second with MB_DEFBUTTON2), Escape answers Cancel or No
// (OK when it stands alone), Tab and the arrow keys move the focus, the
// first letter of a button presses it, and so does a click. Internal to
// platform/ui.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/dialog_look.h"
#include "platform/ui/ui.h"

namespace klv::ui {

// IDOK, IDCANCEL, IDYES or IDNO; 0 when no window could be shown.
int show_message_dialog(Window* owner, const std::string& text, const std::string& caption, std::uint32_t style);

// The text's lines (split at line feeds), each broken at spaces into lines
// no wider than `width` pixels; a word wider than that is broken where it
// must be.
std::vector<std::string> wrapped_lines(const DialogLook& look, const std::string& text, int width);

}  // namespace klv::ui

// What the desktop of the system we run on gives the window service: X11 on
// Linux (platform/ui/x11/), USER32 on Windows (platform/ui/win32/). The rest
// of platform/ui reaches the desktop only through these. Internal to
// platform/ui.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/ui.h"

namespace klv::ui {

class ThreadDisplay;

// The name KLV_BACKEND gives the native backend ("x11", "win32").
const char* native_backend_name();
// Whether the native desktop can be reached at all; when not, the display
// error says why.
bool native_desktop_available();
// Opens the calling thread's connection; null with last_error set when no
// display can be opened.
std::unique_ptr<ThreadDisplay> open_native_display();

// GetSystemMetrics as the desktop answers it; none where the library's own
// numbers stand.
std::optional<int> native_metric(int index);

// The window scale the desktop's resolution asks for (1 to 3); 1 when it
// says nothing.
int native_desktop_scale();

// A modal message box of `owner` (may be null): the answer (IDOK, IDYES ...),
// or 0 when none could be shown.
int native_message_box(Window* owner, const std::string& text, const std::string& caption, std::uint32_t style);

// The desktop's save-file chooser, asking before an existing file is
// replaced: the chosen path, or none when cancelled. Where the desktop has
// none, the built-in chooser (file_chooser.h) stands in.
bool native_file_chooser_installed();
std::optional<std::string> native_choose_save_file(const SaveFileRequest& request);
// "Replace the existing file?": true for Yes.
bool native_ask_replace(Window* owner, const std::string& file_name);
// The file the user just saved through the save chooser, handed to them
// where the desktop does not keep it for them (a web page downloads it);
// nothing on a desktop with files of its own.
void native_offer_saved_file(const std::string& path);

}  // namespace klv::ui

// The native desktop on Windows: USER32 and the common dialogs.
#include "platform/ui/native_desktop.h"

#include <algorithm>

#include "platform/ui/win32/win32_display.h"

// USER32 and GDI last: their macros must not meet our own names above.
#include <windows.h>
#include <commdlg.h>

namespace klv::ui {

const char* native_backend_name() { return "win32"; }

bool native_desktop_available() { return true; }

std::unique_ptr<ThreadDisplay> open_native_display() { return open_win32_display(); }

std::optional<int> native_metric(int index) { return GetSystemMetrics(index); }

// Whole multiples of 96 dots per inch, 1 to 3.
int native_desktop_scale() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return std::clamp((dpi + 48) / 96, 1, 3);
}

// Owned by the window, the box stays above it and the window takes no input
// meanwhile.
int native_message_box(Window* owner, const std::string& text, const std::string& caption, std::uint32_t style) {
    return MessageBoxA(owner_handle(owner), text.c_str(), caption.c_str(), style);
}

bool native_file_chooser_installed() { return true; }

// GetSaveFileNameA with every filter of the request (the first chosen), an
// empty name to start with, and the question before an existing file is
// replaced. No default extension: the caller's own rule extends a name that
// has none, as on Linux.
std::optional<std::string> native_choose_save_file(const SaveFileRequest& request) {
    std::string filter;
    auto add_filter = [&filter](const std::string& name, const std::string& pattern) {
        filter += name;
        filter += '\0';
        filter += pattern;
        filter += '\0';
    };
    add_filter(request.filter_name, request.filter_pattern);
    for (const auto& [name, pattern] : request.more_filters) add_filter(name, pattern);
    char file[261] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_handle(request.owner);
    dialog.lpstrFilter = filter.c_str();  // ends in the string's own NUL: a double NUL
    dialog.nFilterIndex = 1;
    dialog.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();  // null: "Save As"
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN;
    if (!GetSaveFileNameA(&dialog)) return std::nullopt;
    return std::string(file);
}

bool native_ask_replace(Window* owner, const std::string& file_name) {
    const std::string text = file_name + " already exists.\nDo you want to replace it?";
    return MessageBoxA(owner_handle(owner), text.c_str(), "Save image as...", MB_YESNO | MB_ICONWARNING) == IDYES;
}

void native_offer_saved_file(const std::string&) {}

}  // namespace klv::ui

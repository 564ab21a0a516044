// MessageBoxA. Without a display the message goes to stderr, so that a
// program started from a terminal still tells its user what went wrong.
#include <cstdio>

#include "platform/ui/backend.h"
#include "platform/ui/headless/headless_display.h"
#include "platform/ui/ui.h"
#include "platform/ui/native_desktop.h"

namespace klv::ui {

namespace {

void write_to_stderr(const std::string& caption, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
}

}  // namespace

int message_box(Window* owner, const std::string& text, const std::string& caption, std::uint32_t style) {
    switch (chosen_backend()) {
        case BackendKind::headless: record_message_box(caption, text); break;
        case BackendKind::native:
            if (const int answer = native_message_box(owner, text, caption, style)) return answer;
            break;
        case BackendKind::none: break;
    }
    write_to_stderr(caption, text);
    return IDOK;
}

}  // namespace klv::ui

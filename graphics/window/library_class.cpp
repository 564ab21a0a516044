#include "graphics/window/library_class.h"

#include <atomic>

#include "graphics/draw/drawing_context.h"
#include "graphics/window/window_procedure.h"
#include "platform/ui/ui.h"

namespace klv {

namespace {

std::atomic<bool> library_initialised{false};

// A window thread whose desktop went away (the X server ended) ends the
// program as a close request does, with status 1.
[[noreturn]] void end_without_desktop(const std::string& line) { end_program(1, line); }

}  // namespace

bool register_library_class() {
    ui::WindowClass window_class;
    window_class.name = library_class_name;
    window_class.style = ui::CS_DBLCLKS | ui::CS_SAVEBITS;
    window_class.procedure = window_procedure;
    window_class.background_brush = gdi::BLACK_BRUSH;
    if (!ui::register_class(window_class)) {
        report_system_error(nullptr);
        return false;
    }
    return true;
}

// The flag is set before the attempt, so a failed registration is not tried
// again.
bool init_library(void* /*instance*/, int reason) {
    if (library_initialised.exchange(true)) return true;
    if (reason == 1) {
        ui::set_desktop_lost_handler(end_without_desktop);
        return register_library_class();
    }
    if (reason == 0) ui::unregister_class(library_class_name);
    return true;
}

void report_system_error(const char* text) {
    const std::string message = text != nullptr ? std::string(text) : ui::error_text(ui::last_error());
    ui::message_box(nullptr, message, "Error", ui::MB_ICONERROR);
}

}  // namespace klv

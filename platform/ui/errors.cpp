// GetLastError / SetLastError and the texts of the error codes.
#include "platform/ui/backend.h"
#include "platform/ui/ui.h"

namespace klv::ui {

namespace {
thread_local std::uint32_t thread_last_error = ERROR_SUCCESS;
}

std::uint32_t last_error() { return thread_last_error; }

void set_last_error(std::uint32_t code) { thread_last_error = code; }

std::string error_text(std::uint32_t code) {
    switch (code) {
        case ERROR_SUCCESS: return "The operation completed successfully.";
        case ERROR_NOT_ENOUGH_MEMORY: return "Not enough memory resources are available to process this command.";
        case ERROR_INVALID_PARAMETER: return "The parameter is incorrect.";
        case ERROR_INVALID_WINDOW_HANDLE: return "Invalid window handle.";
        case ERROR_CANNOT_FIND_WND_CLASS: return "Cannot find window class.";
        case ERROR_CLASS_ALREADY_EXISTS: return "Class already exists.";
        case ERROR_NO_DISPLAY: return display_error();
        default: return "Unknown error " + std::to_string(code) + ".";
    }
}

}  // namespace klv::ui

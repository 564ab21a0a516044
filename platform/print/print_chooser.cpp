#include "platform/print/print_chooser.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/print/testing.h"
#include "platform/ui/dialog_program_options.h"

namespace klv::print {
namespace {

std::mutex& chooser_mutex() {
    static std::mutex mutex;
    return mutex;
}

PrintChooser& testing_chooser() {
    static PrintChooser chooser;
    return chooser;
}

bool desktop_can_ask() {
    const char* display = std::getenv("DISPLAY");
    const char* backend = std::getenv("KLV_BACKEND");
    return display && *display && !(backend && !std::strcmp(backend, "headless"));
}

}  // namespace

std::optional<std::string> choose_destination(ui::Window* owner, const std::vector<std::string>& destinations,
                                              const std::string& initial) {
    PrintChooser chooser;
    {
        std::lock_guard lock(chooser_mutex());
        chooser = testing_chooser();
    }
    if (chooser) {
        return chooser(destinations, initial);
    }
    if (desktop_can_ask() && !destinations.empty() && !ui::desktop_dialog_program().empty()) {
        return choose_on_desktop(owner, destinations, initial);
    }
    if (initial.empty()) {
        return std::nullopt;
    }
    return initial;
}

namespace testing {

void set_print_chooser(PrintChooser chooser) {
    std::lock_guard lock(chooser_mutex());
    testing_chooser() = std::move(chooser);
}

void set_print_dialog_answer(std::optional<std::string> destination) {
    set_print_chooser([destination](const std::vector<std::string>&, const std::string&) { return destination; });
}

}  // namespace testing
}  // namespace klv::print

// The end of a thread whose desktop went away.
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "platform/ui/ui.h"

namespace klv::ui {

namespace {
std::atomic<DesktopLostHandler> lost_handler{nullptr};
}

void set_desktop_lost_handler(DesktopLostHandler handler) { lost_handler = handler; }

void desktop_lost(const std::string& desktop_name) {
    const std::string line = "The connection to display " + desktop_name + " was lost; the program ends.";
    if (DesktopLostHandler handler = lost_handler) handler(line);
    std::fprintf(stderr, "%s\n", line.c_str());
    std::exit(1);
}

}  // namespace klv::ui

// The visible part of the print dialog: the list of destinations with Print
// and Cancel.
//
// On a desktop (DISPLAY set, KLV_BACKEND not "headless", and zenity or
// kdialog installed) the list is that program's window, titled "Print", tied
// to the window it prints, with the previous choice selected. Where nothing
// can be shown, the dialog confirms at once on the choice it was opened on,
// as a user pressing Print would; with no destination at all it is
// cancelled. Tests put their own chooser in place (testing.h).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/ui.h"

namespace klv::print {

// Given the destinations and the one the dialog opens on (empty when there
// is none): the chosen destination, or none for Cancel.
using PrintChooser =
    std::function<std::optional<std::string>(const std::vector<std::string>& destinations, const std::string& initial)>;

// Asks through the chooser in place (the testing one, else the desktop's),
// as a dialog of `owner` (may be null).
std::optional<std::string> choose_destination(ui::Window* owner, const std::vector<std::string>& destinations,
                                              const std::string& initial);

// The desktop's list (zenity's or kdialog's radio list); none for Cancel or
// when neither program can be run.
std::optional<std::string> choose_on_desktop(ui::Window* owner, const std::vector<std::string>& destinations,
                                             const std::string& initial);

}  // namespace klv::print

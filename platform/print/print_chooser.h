// The visible part of the print dialog: the list of destinations with Print
// and Cancel.
//
// On a desktop (DISPLAY set, KLV_BACKEND not "headless", and zenity
// installed) the list is a zenity window with the previous choice selected.
// Where nothing can be shown, the dialog confirms at once on the choice it
// was opened on, as a user pressing Print would; with no destination at all
// it is cancelled. Tests put their own chooser in place (testing.h).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace klv::print {

// Given the destinations and the one the dialog opens on (empty when there
// is none): the chosen destination, or none for Cancel.
using PrintChooser =
    std::function<std::optional<std::string>(const std::vector<std::string>& destinations, const std::string& initial)>;

// Asks through the chooser in place (the testing one, else the desktop's).
std::optional<std::string> choose_destination(const std::vector<std::string>& destinations,
                                              const std::string& initial);

// Whether zenity is on the PATH.
bool zenity_available();
// zenity's list; none for Cancel or when zenity cannot be run.
std::optional<std::string> choose_with_zenity(const std::vector<std::string>& destinations, const std::string& initial);

}  // namespace klv::print

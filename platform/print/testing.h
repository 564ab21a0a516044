// Hooks for tests of printing.
#pragma once

#include <optional>
#include <string>

#include "platform/print/print_chooser.h"

namespace klv::print::testing {

// Puts a chooser in place of the desktop's dialog for every thread; an empty
// function restores the desktop's.
void set_print_chooser(PrintChooser chooser);

// A chooser that answers every dialog the same: a destination name, or none
// for Cancel.
void set_print_dialog_answer(std::optional<std::string> destination);

// Empties the process's print dialog record, as at the start of the process.
void reset_print_dialog_record();

// Frees what cairo and fontconfig keep for the pages' font, so that a leak
// checker sees no leftovers. Only at the very end of a test program, when no
// thread draws text any more.
void release_font_caches();

// Makes this thread read CUPS_SERVER again before its next CUPS call.
void forget_cups_server();

}  // namespace klv::print::testing

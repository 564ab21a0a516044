// The printers CUPS offers: their names, the default one, and what each one
// reports about itself (resolution, page size, whether it takes images).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace klv::print {

// What a destination reports, in the units a printer page is drawn in.
struct DestinationInfo {
    std::string name;           // "queue" or "queue/instance"
    int dots_per_inch_x = 300;  // printer-resolution-default; 300 where none is given
    int dots_per_inch_y = 300;
    double page_width = 612.0;  // media size in points; US Letter where none is given
    double page_height = 792.0;
    double printable_left = 0.0;  // printable area in points from the page's top-left
    double printable_top = 0.0;
    double printable_width = 612.0;
    double printable_height = 792.0;
    // False for a queue whose option "klv-no-images" is true (set with
    // lpadmin -o klv-no-images-default=true): it gets text only.
    bool takes_images = true;
};

// The destinations of the CUPS server named by the environment (CUPS_SERVER,
// client.conf), as "queue" or "queue/instance", in CUPS's order.
std::vector<std::string> destination_names();

// The default destination's name; none when there is no printer at all.
std::optional<std::string> default_destination_name();

// What the named destination reports; none when it does not exist (any more).
std::optional<DestinationInfo> describe_destination(const std::string& name);

// Forgets this thread's server and connection, so that the next call reads
// CUPS_SERVER again.
void forget_cups_server();

}  // namespace klv::print

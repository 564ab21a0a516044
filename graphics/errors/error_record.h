// Where refused arguments are recorded: the current window's last_error, or
// the library's own code while no window is current.
#pragma once

namespace klv {

void record_error(int code);

}  // namespace klv

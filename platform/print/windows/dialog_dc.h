// The printer device context the print dialog returned, handed to the
// printer context that the dialog opens next on the same thread. Internal to
// platform/print on Windows.
#pragma once

#include <string>

#include <windows.h>

namespace klv::print {

void hand_over_dialog_dc(HDC dc, const std::string& device);
// The context handed over for `device`, or null; the caller owns it.
HDC take_dialog_dc(const std::string& device);

}  // namespace klv::print

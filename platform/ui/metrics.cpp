// GetSystemMetrics. The frame and caption are the classic dialog frame's;
// on X11 the window manager draws its own decorations, but the client area
// keeps the size the library computes from these numbers. On Windows they
// are the desktop's own.
#include "platform/ui/backend.h"
#include "platform/ui/native_desktop.h"
#include "platform/ui/ui.h"

namespace klv::ui {

// Where the desktop has a number of its own (the screen's size; on Windows
// every metric), it stands.
int system_metric(int index) {
    if (chosen_backend() == BackendKind::native) {
        if (std::optional<int> value = native_metric(index)) return *value;
    }
    switch (index) {
        case SM_CXSCREEN: return 1024;
        case SM_CYSCREEN: return 768;
        case SM_CYCAPTION: return 19;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME: return 3;
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK: return 4;
        default: return 0;
    }
}

}  // namespace klv::ui

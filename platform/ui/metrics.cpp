// GetSystemMetrics. The frame and caption are the classic dialog frame's;
// on X11 the window manager draws its own decorations, but the client area
// keeps the size the library computes from these numbers.
#include "platform/ui/backend.h"
#include "platform/ui/ui.h"
#include "platform/ui/x11/x11_screen.h"

namespace klv::ui {

namespace {

gdi::Size screen_size() {
    if (chosen_backend() == BackendKind::x11) {
        gdi::Size size;
        if (x11_screen_size(&size)) return size;
    }
    return {1024, 768};
}

}  // namespace

int system_metric(int index) {
    switch (index) {
        case SM_CXSCREEN: return screen_size().cx;
        case SM_CYSCREEN: return screen_size().cy;
        case SM_CYCAPTION: return 19;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME: return 3;
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK: return 4;
        default: return 0;
    }
}

}  // namespace klv::ui

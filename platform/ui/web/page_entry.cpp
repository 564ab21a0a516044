// What the page's own thread calls (klv_web.js): it draws each window's
// latest frame once an animation frame, and hands over the DOM's input. A
// call never waits long: the links' lock, then the window's frame or queue.
#include <emscripten/emscripten.h>

#include "platform/ui/web/page_link.h"

using klv::ui::PageInput;
using klv::ui::PageLink;

namespace {

// Under the links' lock: the input for window `number`, dropped when it is gone.
void deliver(int number, const PageInput& input) {
    std::lock_guard lock(klv::ui::page_links_mutex());
    if (PageLink* link = klv::ui::find_page_link(number)) link->deliver(input);
}

PageLink::Frame frame_taken;

}  // namespace

extern "C" {

// The changed part of window `number`'s frame, held until
// klv_page_frame_end: seven ints (rgba address, width, height, left, top,
// right, bottom), or null when nothing changed.
EMSCRIPTEN_KEEPALIVE const int* klv_page_frame_begin(int number) {
    static int answer[7];
    klv::ui::page_links_mutex().lock();
    PageLink* link = klv::ui::find_page_link(number);
    if (!link || !link->take_frame(&frame_taken)) {
        klv::ui::page_links_mutex().unlock();
        return nullptr;
    }
    const PageLink::Frame& f = frame_taken;
    answer[0] = int(reinterpret_cast<std::intptr_t>(f.rgba));
    answer[1] = f.width, answer[2] = f.height, answer[3] = f.left, answer[4] = f.top, answer[5] = f.right;
    answer[6] = f.bottom;
    return answer;
}

EMSCRIPTEN_KEEPALIVE void klv_page_frame_end(int number) {
    if (PageLink* link = klv::ui::find_page_link(number)) link->release_frame();
    klv::ui::page_links_mutex().unlock();
}

// flags: 1 Shift, 2 Control, 4 Alt, 8 repeat.
EMSCRIPTEN_KEEPALIVE void klv_page_key(int number, int down, const char* key, const char* code, int flags) {
    PageInput input;
    input.kind = down ? PageInput::Kind::key_down : PageInput::Kind::key_up;
    input.key = key, input.code = code;
    input.shift = flags & 1, input.control = flags & 2, input.alt = flags & 4, input.repeat = flags & 8;
    deliver(number, input);
}

// kind: 0 move, 1 down, 2 up; flags as for keys.
EMSCRIPTEN_KEEPALIVE void klv_page_pointer(int number, int kind, int x, int y, int button, int buttons, int flags,
                                           double time_ms) {
    PageInput input;
    input.kind = kind == 1 ? PageInput::Kind::pointer_down
                           : kind == 2 ? PageInput::Kind::pointer_up : PageInput::Kind::pointer_move;
    input.x = x, input.y = y, input.button = button, input.buttons = buttons;
    input.shift = flags & 1, input.control = flags & 2, input.alt = flags & 4;
    input.time_ms = std::uint32_t(static_cast<long long>(time_ms));
    deliver(number, input);
}

// Shift + right-click at (x, y) of the window: its system menu.
EMSCRIPTEN_KEEPALIVE void klv_page_menu(int number, int x, int y) {
    PageInput input;
    input.kind = PageInput::Kind::menu;
    input.x = x, input.y = y;
    deliver(number, input);
}

// On the system menu's popup; kind as for the pointer. A press outside it
// comes at (-1, -1).
EMSCRIPTEN_KEEPALIVE void klv_page_menu_pointer(int number, int kind, int x, int y) {
    PageInput input;
    input.kind = kind == 1 ? PageInput::Kind::menu_down
                           : kind == 2 ? PageInput::Kind::menu_up : PageInput::Kind::menu_move;
    input.x = x, input.y = y;
    deliver(number, input);
}

EMSCRIPTEN_KEEPALIVE void klv_page_close(int number) {
    PageInput input;
    input.kind = PageInput::Kind::close;
    deliver(number, input);
}

}  // extern "C"

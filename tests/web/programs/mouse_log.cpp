// Prints every mouse event as "KIND X Y", kept in the queues and read in
// order by kind as they come; ends with 0 on a key. Draws a dot where the
// left button went down.
#include <cstdio>

#include "graphics/klv.h"

int main() {
    open_window(200, 150, "Mouse", 0, 0, false, true);
    for (int kind = KLV_MOUSE_MOVE; kind <= KLV_MIDDLE_DOUBLE_CLICK; ++kind) keep_mouse_events(kind, 1);
    std::printf("ready\n");
    std::fflush(stdout);
    while (!key_pressed()) {
        for (int kind = KLV_MOUSE_MOVE; kind <= KLV_MIDDLE_DOUBLE_CLICK; ++kind) {
            int x = 0, y = 0;
            while (take_mouse_event(kind, &x, &y)) {
                std::printf("mouse %d %d %d\n", kind, x, y);
                if (kind == KLV_LEFT_DOWN) put_pixel(x, y, KLV_WHITE);
            }
        }
        std::fflush(stdout);
        wait_ms(5);
    }
    wait_key();
    close_window(-2);
    return 0;
}

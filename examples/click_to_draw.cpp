// Draws a dot where the left button is pressed and a line from the previous
// dot; the right button clears the window. Press a key to end.
#include "graphics/klv.h"

int main(void) {
    if (open_window(640, 480, "Click to draw", 100, 100, false, true) < 0) return 1;
    keep_mouse_events(KLV_LEFT_DOWN, 1);
    set_text_style(4, 0, 1);
    out_text_xy(8, 8, "Left button: draw. Right button: clear. Any key: end.");
    int last_x = -1, last_y = -1;
    set_fill_style(1, KLV_YELLOW);
    while (!key_pressed()) {
        int x, y;
        while (take_mouse_event(KLV_LEFT_DOWN, &x, &y)) {
            set_color(KLV_LIGHT_CYAN);
            if (last_x >= 0) draw_line(last_x, last_y, x, y);
            set_color(KLV_YELLOW);
            draw_pie_slice(x, y, 0, 360, 4);
            last_x = x;
            last_y = y;
        }
        if (take_mouse_event(KLV_RIGHT_DOWN, &x, &y)) {
            set_fill_style(1, KLV_BLACK);
            fill_bar(0, 30, get_max_x() + 1, get_max_y() + 1);
            set_fill_style(1, KLV_YELLOW);
            last_x = last_y = -1;
        }
        wait_ms(10);
    }
    close_window(-2);
    return 0;
}

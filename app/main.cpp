// The demonstration program: a labelled pie chart in a window, until a key.
#include "graphics/klv.h"

int main() {
    open_window(640, 480, "Pie Chart", 0, 0, false, true);
    set_color(5);
    draw_rectangle(0, 40, 639, 450);
    set_text_style(3, 0, 2);
    set_color(15);
    out_text_xy(275, 10, "Pie Chart");
    const int cx = get_max_x() / 2;
    const int cy = get_max_y() / 2;
    set_fill_style(2, 1);
    draw_pie_slice(cx, cy, 0, 75, 100);
    out_text_xy(cx + 100, cy - 75, "20.83%");
    set_fill_style(8, 4);
    draw_pie_slice(cx, cy, 75, 225, 100);
    out_text_xy(cx - 175, cy - 75, "41.67%");
    set_fill_style(10, 2);
    draw_pie_slice(cx, cy, 225, 360, 100);
    out_text_xy(cx + 75, cy + 75, "37.50%");
    wait_key();
    close_window(-2);
    return 0;
}

// The eleven numbered fonts at sizes 1 to 10, across and upward, saved as
// font_sheet.bmp. Press a key to close the window.
#include <stdio.h>

#include "graphics/klv.h"

enum { column_width = 780, label_width = 28 };

/* One font's row: "Ag" at sizes 1 to 10; returns the row's height. */
static int draw_font_row(int font, int x, int y) {
    set_text_style(font, 0, 10);
    const int height = text_height("Ag") + 4;
    for (int size = 1; size <= 10; ++size) {
        set_text_style(font, 0, size);
        out_text_xy(x, y + height - 4 - text_height("Ag"), "Ag");
        x += text_width("Ag") + 4;
    }
    return height;
}

int main(void) {
    if (open_window(2 * column_width + 300, 980, "Font sheet", 0, 0, false, true) < 0) return 1;
    int y[2] = {4, 4};
    for (int font = 0; font <= 10; ++font) {
        const int column = font < 6 ? 0 : 1;
        char label[8];
        snprintf(label, sizeof label, "%d", font);
        set_color(KLV_LIGHT_GREY);
        set_text_style(3, 0, 1);
        out_text_xy(column * column_width + 2, y[column], label);
        set_color(15 - font % 6);
        y[column] += draw_font_row(font, column * column_width + label_width, y[column]);
    }
    int x = 2 * column_width + 4;
    set_color(KLV_YELLOW);
    for (int font = 0; font <= 10; ++font) {
        set_text_style(font, 1, 2);
        out_text_xy(x, 970, "Upward, size 2");
        x += text_height("Upward, size 2") + 2;
    }
    const int written = save_image("font_sheet.bmp", 0, 0, get_max_x(), get_max_y(), false);
    printf(written == 0 ? "saved font_sheet.bmp\n" : "could not save font_sheet.bmp\n");
    wait_key();
    close_window(-2);
    return 0;
}

// The eleven numbered fonts at sizes 1 to 10, across and upward, saved as
// font_sheet.bmp. Press a key to close the window.
#include <stdio.h>

#include "graphics/klv.h"

int main(void) {
    if (open_window(1200, 900, "Font sheet", 0, 0, false, true) < 0) return 1;
    int y = 4;
    for (int font = 0; font <= 10; ++font) {
        set_color(15 - font % 6);
        set_text_style(3, 0, 1);
        char label[16];
        snprintf(label, sizeof label, "%d", font);
        out_text_xy(4, y, label);
        int x = 30;
        for (int size = 1; size <= 10 && x < 900; ++size) {
            set_text_style(font, 0, size);
            out_text_xy(x, y, "Ag");
            x += text_width("Ag") + 6;
        }
        set_text_style(3, 0, 1);
        y += 62;
    }
    int x = 930;
    for (int font = 0; font <= 10; ++font) {
        set_color(14);
        set_text_style(font, 1, 2);
        out_text_xy(x, 880, "Upward 2");
        x += text_height("Upward 2") + 2;
    }
    const int written = save_image("font_sheet.bmp", 0, 0, get_max_x(), get_max_y(), false);
    printf(written == 0 ? "saved font_sheet.bmp\n" : "could not save font_sheet.bmp\n");
    wait_key();
    close_window(-2);
    return 0;
}

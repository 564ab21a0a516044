// Loads a picture (BMP, PNG or JPEG), draws a frame and a note on it and saves
// the result as a PNG file.
//
// Usage: annotate_picture [PICTURE] [RESULT.png]
// Defaults: docs/pie-chart.png (run from the top of the repository) and
// annotated.png. Press a key to end.
#include <stdio.h>

#include "graphics/klv.h"

int main(int argc, char** argv) {
    const char* picture = argc > 1 ? argv[1] : "docs/pie-chart.png";
    const char* result = argc > 2 ? argv[2] : "annotated.png";
    if (open_window(640, 480, "Annotate a picture", 50, 50, false, true) < 0) return 1;
    set_text_style(4, 0, 2);

    const int code = load_image(picture, 0, 0);
    if (code != 0) {
        set_color(KLV_LIGHT_RED);
        out_text_xy(10, 10, picture);
        out_text_xy(10, 40, error_text(code));
        wait_key();
        close_window(-2);
        return 1;
    }

    set_color(KLV_YELLOW);
    set_line_style(0, 0, 3);
    draw_rectangle(420, 150, 630, 230);
    set_fill_style(1, KLV_DARK_BLUE);
    fill_bar(430, 160, 621, 221);
    set_bk_color(KLV_DARK_BLUE);
    out_text_xy(440, 175, "Checked");
    set_bk_color(KLV_BLACK);

    const int saved = save_image(result, 0, 0, get_max_x(), get_max_y(), false);
    set_color(saved == 0 ? KLV_LIGHT_GREEN : KLV_LIGHT_RED);
    char line[300];
    snprintf(line, sizeof line, saved == 0 ? "Saved as %s. Press a key." : "Could not save %s.", result);
    out_text_xy(10, 450, line);
    wait_key();
    close_window(-2);
    return saved == 0 ? 0 : 1;
}

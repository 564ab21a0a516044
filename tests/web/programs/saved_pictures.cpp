// Draws a picture, saves it as picture.bmp and picture.png with save_image,
// loads the PNG back into the right half, saves the whole window as
// window.bmp and window.png, prints "saved A B loaded C whole D" (the calls'
// results), then waits for a key and ends with 0. Built natively
// too, so that the page tests compare the bytes each side writes (there
// with any argument: it ends without waiting).
#include <cstdio>

#include "graphics/klv.h"

int main(int argc, char**) {
    open_window(240, 160, "Saved pictures", 0, 0, false, true);
    set_fill_style(8, KLV_LIGHT_RED);
    draw_pie_slice(60, 80, 30, 300, 50);
    set_color(KLV_YELLOW);
    set_text_style(1, 0, 1);
    out_text_xy(4, 4, "Saved");
    const int bmp = save_image("picture.bmp", 0, 0, 119, 159, false);
    const int png = save_image("picture.png", 0, 0, 119, 159, false);
    const int loaded = load_image("picture.png", 120, 0);
    const int whole = save_image("window.bmp", 0, 0, 239, 159, false) + save_image("window.png", 0, 0, 239, 159, false);
    std::printf("saved %d %d loaded %d whole %d\n", bmp, png, loaded, whole);
    std::fflush(stdout);
    if (argc == 1) wait_key();  // natively the test runs it with an argument, to end at once
    close_window(-2);
    return 0;
}

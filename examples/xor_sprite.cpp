// A flying saucer crossing a landscape. The saucer is drawn once on page 3,
// which is never shown, grabbed with grab_image and then pasted in XOR mode:
// pasting it again at the same place removes it and leaves the landscape as
// it was, so nothing behind it needs redrawing. Step 40 is saved as
// xor_sprite.bmp. Press a key to end.
#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include "graphics/klv.h"

enum { width = 480, height = 320, sprite_w = 64, sprite_h = 36, saved_step = 40 };

static void draw_landscape(void) {
    set_fill_style(1, KLV_DARK_BLUE);
    fill_bar(0, 0, width, height);
    set_color(KLV_YELLOW);
    set_fill_style(1, KLV_YELLOW);
    draw_pie_slice(390, 70, 0, 360, 30);
    set_color(KLV_LIGHT_GREEN);
    set_fill_style(8, KLV_DARK_GREEN);
    draw_pie_slice(110, 300, 0, 180, 150);
    draw_pie_slice(330, 320, 0, 180, 130);
    set_fill_style(9, KLV_OLIVE);
    fill_bar(0, 290, width, height);
}

/* The saucer on black, top-left at (0, 0) of the active page. */
static void draw_saucer(void) {
    set_color(KLV_LIGHT_CYAN);
    set_fill_style(1, KLV_DARK_CYAN);
    draw_pie_slice(32, 18, 0, 180, 14);
    set_color(KLV_LIGHT_GREY);
    set_fill_style(1, KLV_DARK_GREY);
    fill_bar(2, 18, 62, 28);
    draw_rectangle(2, 18, 61, 27);
    set_fill_style(1, KLV_YELLOW);
    for (int x = 10; x < 60; x += 12) fill_bar(x, 22, x + 4, 25);
}

int main(void) {
    if (open_window(width, height, "XOR sprite", 100, 100, false, true) < 0) return 1;
    set_active_page(3);
    draw_saucer();
    void* saucer = malloc((size_t)image_bytes(0, 0, sprite_w - 1, sprite_h - 1));
    if (saucer == NULL) return 1;
    grab_image(0, 0, sprite_w - 1, sprite_h - 1, saucer);
    set_active_page(0);
    draw_landscape();
    for (int step = 0; !key_pressed(); ++step) {
        const int x = step * 4 % (width + sprite_w) - sprite_w;
        const int y = 120 + (int)(40 * sin(step / 9.0));
        paste_image(x, y, saucer, KLV_PASTE_XOR);
        if (step == saved_step) {
            const int written = save_image("xor_sprite.bmp", 0, 0, width - 1, height - 1, false);
            printf(written == 0 ? "saved xor_sprite.bmp\n" : "could not save xor_sprite.bmp\n");
            fflush(stdout);
        }
        wait_ms(30);
        paste_image(x, y, saucer, KLV_PASTE_XOR); /* the landscape again, exactly */
    }
    free(saucer);
    close_window(-2);
    return 0;
}

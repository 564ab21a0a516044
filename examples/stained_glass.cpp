// A stained-glass window: the lead is drawn first (a star, an arrow and an
// L, all concave, cut into panes by lines), then every pane is filled with
// flood_fill from a point inside it, up to the lead. The fills find their
// way round the inner corners of each shape. Saves stained_glass.bmp; press
// a key to end.
#include <stdio.h>

#include "graphics/klv.h"

enum { width = 480, height = 320, lead = KLV_DARK_GREY };

/* A closed outline through count points. */
static void outline(int count, const int* xy) {
    int closed[2 * 12];
    for (int i = 0; i < 2 * count; ++i) closed[i] = xy[i];
    closed[2 * count] = xy[0];
    closed[2 * count + 1] = xy[1];
    draw_polyline(count + 1, closed);
}

static void fill(int x, int y, int pattern, int color) {
    set_fill_style(pattern, color);
    flood_fill(x, y, lead);
}

int main(void) {
    if (open_window(width, height, "Stained glass", 100, 100, false, true) < 0) return 1;
    set_color(lead);
    set_line_style(0, 0, 3);
    draw_rectangle(4, 4, width - 5, height - 5);
    /* A five-pointed star, with lines from its centre to every point. */
    const int star[] = {120, 30, 143, 100, 217, 100, 157, 143, 180, 213,
                        120, 170, 60,  213, 83,  143, 23,  100, 97,  100};
    outline(10, star);
    for (int i = 0; i < 10; i += 2) draw_line(120, 125, star[2 * i], star[2 * i + 1]);
    /* An arrow pointing right, split along its shaft. */
    const int arrow[] = {250, 60, 370, 60, 370, 25, 455, 100, 370, 175, 370, 140, 250, 140};
    outline(7, arrow);
    draw_line(250, 100, 455, 100);
    /* An L, crossed by a diagonal that also closes off its notch. */
    const int ell[] = {250, 190, 300, 190, 300, 260, 455, 260, 455, 300, 250, 300};
    outline(6, ell);
    draw_line(250, 190, 455, 300);
    /* The panes: each from one point inside it. */
    const int star_colors[] = {KLV_LIGHT_RED, KLV_YELLOW, KLV_LIGHT_GREEN, KLV_LIGHT_CYAN, KLV_LIGHT_MAGENTA};
    for (int i = 0; i < 5; ++i) {
        const int inner = 4 * i + 2; /* the inner corner of pane i */
        fill((120 + star[inner]) / 2, (125 + star[inner + 1]) / 2, 1, star_colors[i]);
    }
    fill(300, 80, 1, KLV_LIGHT_BLUE);
    fill(300, 120, 9, KLV_DARK_BLUE);
    fill(290, 198, 1, KLV_YELLOW);
    fill(270, 290, 7, KLV_DARK_RED);
    fill(440, 268, 1, KLV_OLIVE);
    fill(320, 245, 1, KLV_LIGHT_MAGENTA); /* the notch the diagonal closes off */
    fill(60, 260, 8, KLV_DARK_GREEN); /* the background, round every shape */
    const int written = save_image("stained_glass.bmp", 0, 0, width - 1, height - 1, false);
    printf(written == 0 ? "saved stained_glass.bmp\n" : "could not save stained_glass.bmp\n");
    fflush(stdout);
    wait_key();
    close_window(-2);
    return 0;
}

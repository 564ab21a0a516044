// A clock face: rings and arcs, tick marks and hands drawn with lines from
// the current position, and the hours as text. It shows ten past ten, saves
// clock_face.bmp, then the second hand runs in XOR mode (drawing it again
// at the same place removes it) until a key is pressed.
#include <math.h>
#include <stdio.h>

#include "graphics/klv.h"

enum { size = 360, cx = 180, cy = 180, radius = 150 };

static const double to_radians = 3.14159265358979 / 180;

/* From the centre, a line of the given length toward angle (degrees
 * clockwise from 12 o'clock), drawn from the current position. */
static void hand(int angle, int length) {
    move_to(cx, cy);
    line_by((int)lround(length * sin(angle * to_radians)), -(int)lround(length * cos(angle * to_radians)));
}

static void draw_face(void) {
    set_fill_style(1, KLV_DARK_BLUE);
    fill_bar(0, 0, size, size);
    set_color(KLV_LIGHT_GREY);
    set_fill_style(10, KLV_DARK_CYAN);
    fill_ellipse(cx, cy, radius, radius);
    set_line_style(0, 0, 3);
    set_color(KLV_YELLOW);
    draw_circle(cx, cy, radius + 6);
    set_line_style(0, 0, 1);
    set_color(KLV_LIGHT_RED);
    draw_arc(cx, cy, 30, 150, radius - 28); /* a red band over the twelve */
    draw_arc(cx, cy, 30, 150, radius - 30);
    for (int minute = 0; minute < 60; ++minute) {
        const double a = minute * 6 * to_radians;
        const int inner = minute % 5 == 0 ? radius - 14 : radius - 5;
        set_color(minute % 5 == 0 ? KLV_WHITE : KLV_LIGHT_GREY);
        draw_line(cx + (int)lround(inner * sin(a)), cy - (int)lround(inner * cos(a)),
                  cx + (int)lround((radius - 1) * sin(a)), cy - (int)lround((radius - 1) * cos(a)));
    }
    set_color(KLV_WHITE);
    set_text_style(1, 0, 2);
    set_text_justify(1, 1); /* centred on the point, by its middle */
    for (int hour = 1; hour <= 12; ++hour) {
        char label[3];
        snprintf(label, sizeof label, "%d", hour);
        const double a = hour * 30 * to_radians;
        out_text_xy(cx + (int)lround((radius - 32) * sin(a)), cy - (int)lround((radius - 32) * cos(a)), label);
    }
}

int main(void) {
    if (open_window(size, size, "Clock", 100, 100, false, true) < 0) return 1;
    draw_face();
    set_color(KLV_WHITE);
    set_line_style(0, 0, 5);
    hand(10 * 30 + 9 / 2, 80); /* 10:09 */
    set_line_style(0, 0, 3);
    hand(9 * 6, 120);
    set_line_style(0, 0, 1);
    set_color(KLV_YELLOW);
    set_fill_style(1, KLV_YELLOW);
    fill_ellipse(cx, cy, 6, 6);
    set_write_mode(KLV_DRAW_XOR);
    set_color(KLV_LIGHT_RED);
    int second = 30;
    hand(second * 6, 130);
    const int written = save_image("clock_face.bmp", 0, 0, size - 1, size - 1, false);
    printf(written == 0 ? "saved clock_face.bmp\n" : "could not save clock_face.bmp\n");
    fflush(stdout);
    while (!key_pressed()) {
        wait_ms(1000);
        hand(second * 6, 130); /* away again, leaving the face as it was */
        second = (second + 1) % 60;
        hand(second * 6, 130);
    }
    close_window(-2);
    return 0;
}

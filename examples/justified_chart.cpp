// A bar chart of monthly rainfall for two years, labelled with justified
// text: values right-justified against the axis, month names centred under
// their bars, each total centred on the top of its bar. The bars are filled
// with fill patterns of the program's own (set_fill_pattern). Saved as
// justified_chart.bmp. Press a key to end.
#include <stdio.h>

#include "graphics/klv.h"

enum { width = 640, height = 400, left = 70, right = 620, top = 60, bottom = 330, most = 160 };

static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
static const int last_year[] = {78, 61, 66, 52, 49, 63, 58, 71, 84, 112, 131, 96};
static const int this_year[] = {92, 70, 48, 57, 38, 44, 67, 90, 79, 125, 150, 104};
static const unsigned char rising[8] = {0x03, 0x06, 0x0C, 0x18, 0x30, 0x60, 0xC0, 0x81};
static const unsigned char checks[8] = {0xCC, 0xCC, 0x33, 0x33, 0xCC, 0xCC, 0x33, 0x33};

static int y_of(int millimetres) { return bottom - millimetres * (bottom - top) / most; }

static void draw_axes(void) {
    char label[16];
    set_text_style(4, 0, 1);
    set_text_justify(KLV_JUSTIFY_RIGHT, KLV_JUSTIFY_BASELINE);
    for (int mm = 0; mm <= most; mm += 20) {
        set_color(KLV_DARK_GREY);
        draw_line(left, y_of(mm), right, y_of(mm));
        set_color(KLV_LIGHT_GREY);
        snprintf(label, sizeof label, "%d", mm);
        out_text_xy(left - 8, y_of(mm) + 5, label);
    }
    set_color(KLV_WHITE);
    draw_line(left, top - 10, left, bottom);
    draw_line(left, bottom, right, bottom);
}

static void draw_bar(int x, int mm, const unsigned char* pattern, int color) {
    char value[8];
    set_fill_pattern(pattern, color);
    fill_bar(x, y_of(mm), x + 18, bottom);
    set_color(color);
    draw_rectangle(x, y_of(mm), x + 17, bottom);
    snprintf(value, sizeof value, "%d", mm);
    set_text_style(2, 0, 4);
    set_text_justify(KLV_JUSTIFY_CENTRE, KLV_JUSTIFY_BOTTOM);
    out_text_xy(x + 9, y_of(mm) - 2, value);
}

static void draw_legend(int x, const char* name, const unsigned char* pattern, int color) {
    set_fill_pattern(pattern, color);
    fill_bar(x, 362, x + 24, 378);
    set_color(KLV_WHITE);
    set_text_style(4, 0, 1);
    set_text_justify(KLV_JUSTIFY_LEFT, KLV_JUSTIFY_TOP);
    out_text_xy(x + 32, 360, name);
}

int main(void) {
    if (open_window(width, height, "Rainfall", 100, 100, false, true) < 0) return 1;
    set_color(KLV_WHITE);
    set_text_style(4, 0, 3);
    set_text_justify(KLV_JUSTIFY_CENTRE, KLV_JUSTIFY_TOP);
    out_text_xy(width / 2, 10, "Rainfall by month (mm)");
    draw_axes();
    for (int m = 0; m < 12; ++m) {
        const int x = left + 8 + m * (right - left) / 12;
        draw_bar(x, last_year[m], rising, KLV_LIGHT_BLUE);
        draw_bar(x + 19, this_year[m], checks, KLV_LIGHT_GREEN);
        set_color(KLV_WHITE);
        set_text_style(4, 0, 1);
        set_text_justify(KLV_JUSTIFY_CENTRE, KLV_JUSTIFY_TOP);
        out_text_xy(x + 18, bottom + 6, months[m]);
    }
    draw_legend(200, "last year", rising, KLV_LIGHT_BLUE);
    draw_legend(360, "this year", checks, KLV_LIGHT_GREEN);
    const int written = save_image("justified_chart.bmp", 0, 0, width - 1, height - 1, false);
    printf(written == 0 ? "saved justified_chart.bmp\n" : "could not save justified_chart.bmp\n");
    fflush(stdout);
    wait_key();
    close_window(-2);
    return 0;
}

/* KLV graphics: open a window, draw with colour numbers, fill patterns and
 * numbered fonts, wait for a key.
 *
 * Plain functions with C linkage, usable from C and C++. Functions without a
 * window argument act on the current window: the one opened last, until it
 * is closed. Calling a drawing function when there is no current window
 * shows "Drawing operation was attempted when there was no current window."
 * and ends the program with status 0.
 *
 * Coordinates are integer pixels, x to the right and y downward, relative to
 * the viewport origin. Colours are 0 to 15 (the palette below) or any other
 * value as an RGB colour 0x00BBGGRR.
 */
#ifndef KLV_GRAPHICS_KLV_H
#define KLV_GRAPHICS_KLV_H

#ifndef __cplusplus
#include <stdbool.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Colour numbers. */
enum {
    KLV_BLACK = 0, KLV_DARK_BLUE = 1, KLV_DARK_GREEN = 2, KLV_DARK_CYAN = 3,
    KLV_DARK_RED = 4, KLV_DARK_MAGENTA = 5, KLV_OLIVE = 6, KLV_LIGHT_GREY = 7,
    KLV_DARK_GREY = 8, KLV_LIGHT_BLUE = 9, KLV_LIGHT_GREEN = 10, KLV_LIGHT_CYAN = 11,
    KLV_LIGHT_RED = 12, KLV_LIGHT_MAGENTA = 13, KLV_YELLOW = 14, KLV_WHITE = 15
};

/* Mouse event kinds, for the mouse functions below. */
enum {
    KLV_MOUSE_MOVE = 0,
    KLV_LEFT_DOWN = 1, KLV_LEFT_UP = 2, KLV_LEFT_DOUBLE_CLICK = 3,
    KLV_RIGHT_DOWN = 4, KLV_RIGHT_UP = 5, KLV_RIGHT_DOUBLE_CLICK = 6,
    KLV_MIDDLE_DOWN = 7, KLV_MIDDLE_UP = 8, KLV_MIDDLE_DOUBLE_CLICK = 9
};

/* Error codes: take_error() returns the last one a window recorded, and
 * load_image returns them; error_text(code) gives a sentence for each. */
enum {
    KLV_OK = 0,
    KLV_ERROR_BAD_ARGUMENT = -11,        /* an argument outside what the function accepts */
    KLV_ERROR_BAD_IMAGE = -20,           /* an image buffer whose header cannot be trusted */
    KLV_ERROR_OUT_OF_MEMORY = -21,
    KLV_ERROR_FILE_NOT_FOUND = -30,      /* a picture file that cannot be opened */
    KLV_ERROR_NOT_A_PICTURE = -31,       /* neither BMP nor PNG */
    KLV_ERROR_UNSUPPORTED_PICTURE = -32, /* a kind of BMP or PNG that is not read */
    KLV_ERROR_DAMAGED_PICTURE = -33,     /* damaged or cut short */
    KLV_ERROR_PICTURE_TOO_LARGE = -34    /* over 32767 on a side or 2^27 pixels */
};

/* ---- windows ---------------------------------------------------------- */

/* Opens a window whose drawing area is width by height pixels, with its outer
 * top-left corner at (left, top) on the screen, and makes it current. An
 * empty or null title gives a window without a title bar, dragged by its
 * frame. double_buffer: drawing goes to page 1 while page 0 is shown.
 * close_exits: the close box ends the program with status 0; otherwise it is
 * ignored. Returns the window's index (0, 1, ... never reused) or -1 when no
 * window could be made (a message says why). */
int open_window(int width, int height, const char* title, int left, int top, bool double_buffer,
                bool close_exits);

/* Closes window number index; -1 the current window, -2 every window.
 * Unknown or closed indexes are ignored. */
void close_window(int index);

/* ---- keyboard --------------------------------------------------------- */

/* The next byte typed into the current window, waiting for one: a character
 * key gives its Windows-1252 code (bytes above 127 come back negative), a
 * navigation or function key gives 0 and then its key code (Up: 0, 72). */
int wait_key(void);

/* Non-zero when the current window has a typed byte waiting. Never blocks. */
int key_pressed(void);

/* Sleeps for the given milliseconds while the window keeps repainting. */
void wait_ms(int milliseconds);

/* ---- drawing state ---------------------------------------------------- */

void set_color(int color);    /* lines, outlines and text */
void set_bk_color(int color); /* behind text and hatch lines, and fill pattern 0 */

/* Fill patterns: 0 background colour, 1 solid, 2 horizontal lines, 3 thin
 * rising lines, 4 thick rising lines, 5 thick falling lines, 6 thin falling
 * lines, 7 cross-hatch, 8 diagonal cross-hatch, 9 interleaved blocks, 10
 * sparse dots, 11 close dots; 12 is ignored; other numbers change nothing. */
void set_fill_style(int pattern, int color);

/* Line styles: 0 solid, 1 dotted, 2 dash-dot, 3 dashed, 4 the 16-bit pattern
 * (bit 0 first). thickness in pixels, at least 1. A style outside 0 to 4 or a
 * thickness below 1 changes nothing. */
void set_line_style(int style, int pattern, int thickness);

/* Moves the origin of all drawing to (left, top); with clip non-zero drawing
 * is cut off at the rectangle (right and bottom edges excluded). */
void set_viewport(int left, int top, int right, int bottom, int clip);

int get_max_x(void); /* width - 1 of the current window */
int get_max_y(void); /* height - 1 */

/* ---- shapes ----------------------------------------------------------- */

void draw_line(int x1, int y1, int x2, int y2);
void draw_rectangle(int left, int top, int right, int bottom);
void fill_bar(int left, int top, int right, int bottom); /* right column, bottom row excluded */
/* A circular sector, angles in degrees counter-clockwise from 3 o'clock. */
void draw_pie_slice(int x, int y, int start_angle, int end_angle, int radius);

/* ---- text ------------------------------------------------------------- */

/* font 0 to 10, direction 0 horizontal or 1 vertical (upward), size 1 to 10
 * or 0 for the font's default size. Other values change nothing. */
void set_text_style(int font, int direction, int size);
/* Draws text (Windows-1252 bytes) with the top-left of its first cell at
 * (x, y); null draws nothing. */
void out_text_xy(int x, int y, const char* text);
int text_width(const char* text);  /* pixels along the line in the current font */
int text_height(const char* text); /* pixels across the line */

/* ---- mouse ------------------------------------------------------------ */

/* Each kind (KLV_MOUSE_MOVE ... KLV_MIDDLE_DOUBLE_CLICK) keeps the latest
 * event, or every event once keep_mouse_events(kind, 1) was called. Kinds
 * outside 0 to 9 are ignored (queries answer 0 or -1). */
int has_mouse_event(int kind);
/* Takes the oldest position out of the kind's queue: 1 and the position, or 0
 * and -1, -1 when it is empty. */
int take_mouse_event(int kind, int* x, int* y);
void clear_mouse_events(int kind);
void keep_mouse_events(int kind, int keep);
/* Calls handler(x, y) on the window's own thread for every event of the kind;
 * null removes it. */
void set_mouse_handler(int kind, void (*handler)(int x, int y));
int get_mouse_x(void);
int get_mouse_y(void);

/* ---- errors ----------------------------------------------------------- */

/* A short English sentence for an error code; never null. */
const char* error_text(int code);

/* ---- images ----------------------------------------------------------- */

/* Saves the region (inclusive corners, clipped to the page) of the visual
 * page, or of the active page, as a 24-bit BMP file. Returns 0 when written,
 * 4 when the file could not be written (an existing file is then left as it
 * was), 20 when the image could not be made. */
int save_image(const char* file_name, int left, int top, int right, int bottom, bool use_active_page);

#ifdef __cplusplus
}
#endif

#endif

/* KLV graphics: open a window, draw with colour numbers, fill patterns and
 * numbered fonts, wait for a key.
 *
 * Plain functions with C linkage, usable from C and C++. Functions without a
 * window argument act on the current window: the one opened last, until it
 * is closed. Calling a drawing function when there is no current window
 * shows "Drawing operation was attempted when there was no current window."
 * and ends the program with status 1. The queries get_current_window,
 * get_color, get_bk_color, get_active_page, get_visual_page,
 * get_palette_entry, take_error, image_bytes and error_text answer instead.
 *
 * Coordinates are integer pixels, x to the right and y downward, relative to
 * the viewport origin. Colours are 0 to 15 (the palette below) or any other
 * value as an RGB colour 0x00BBGGRR (the top byte is ignored);
 * rgb_color(red, green, blue) gives the value of any RGB colour.
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

/* Write modes, for set_write_mode. */
enum { KLV_DRAW_COPY = 0, KLV_DRAW_XOR = 1 };

/* Error codes: take_error() returns the last one a window recorded, and
 * load_image and record_frames return them; error_text(code) gives a sentence for each. */
enum {
    KLV_OK = 0,
    KLV_ERROR_BAD_ARGUMENT = -11,        /* an argument outside what the function accepts */
    KLV_ERROR_BAD_IMAGE = -20,           /* an image buffer whose header cannot be trusted */
    KLV_ERROR_OUT_OF_MEMORY = -21,
    KLV_ERROR_FILE_NOT_FOUND = -30,      /* a picture file that cannot be opened */
    KLV_ERROR_NOT_A_PICTURE = -31,       /* not BMP, PNG or JPEG */
    KLV_ERROR_UNSUPPORTED_PICTURE = -32, /* a kind of BMP, PNG or JPEG that is not read */
    KLV_ERROR_DAMAGED_PICTURE = -33,     /* damaged or cut short */
    KLV_ERROR_PICTURE_TOO_LARGE = -34,   /* over 32767 on a side or 2^27 pixels */
    KLV_ERROR_CANNOT_WRITE_FILE = -40,   /* a file that cannot be created or written */
    KLV_ERROR_ALREADY_RECORDING = -41    /* record_frames while the window records */
};

/* Text justification for set_text_justify: along the line, and across it. */
enum {
    KLV_JUSTIFY_LEFT = 0, KLV_JUSTIFY_CENTRE = 1, KLV_JUSTIFY_RIGHT = 2,
    KLV_JUSTIFY_BOTTOM = 0, KLV_JUSTIFY_BASELINE = 1, KLV_JUSTIFY_TOP = 2
};

/* How paste_image combines each image pixel with the page pixel under it. */
enum {
    KLV_PASTE_COPY = 0, /* the image pixel */
    KLV_PASTE_XOR = 1,  /* page XOR image: pasting the same image twice restores the page */
    KLV_PASTE_OR = 2,   /* page OR image */
    KLV_PASTE_AND = 3,  /* page AND image */
    KLV_PASTE_NOT = 4   /* the image pixel inverted */
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
 * Unknown or closed indexes are ignored. Closing the current window leaves
 * no window current, even while others are open: set_current_window picks
 * one of them. */
void close_window(int index);

/* Makes the open window number index the current one; a closed or unknown
 * index changes nothing and records KLV_ERROR_BAD_ARGUMENT. */
void set_current_window(int index);
/* The current window's index, or -1 when no window is current. */
int get_current_window(void);
/* The current window's title (Windows-1252 bytes; null is an empty title).
 * A window opened without a title keeps its plain frame. */
void set_window_title(const char* title);

/* The current window on the screen shows each page pixel as a scale by
 * scale block of screen pixels (nearest neighbour, never blurred). A window
 * starts at KLV_SCALE=N when that is set to 1 to 8, else at the scale the
 * desktop asks for (X resource Xft.dpi: 144 or more gives 2, 240 or more
 * 3), else 1; never so large that the window would not fit on the screen
 * (then the largest that fits). Everything the program sees stays in page
 * pixels: get_max_x, drawing, mouse positions, saving and printing.
 * set_window_scale: 1 to 8, pulled down to what fits the screen; the window
 * resizes, the pages keep their size. Other values change nothing and
 * record KLV_ERROR_BAD_ARGUMENT. */
void set_window_scale(int scale);
int get_window_scale(void);

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

/* The colour value of the RGB colour red, green, blue (each 0 to 255; a part
 * outside is taken as the nearer end): 0x00BBGGRR, and where that would be
 * a colour number 0 to 15 (black, very dark reds) 0x01BBGGRR, so that it
 * always names the RGB colour: rgb_color(15, 0, 0) is a very dark red, not
 * palette white 15. Needs no window. */
int rgb_color(int red, int green, int blue);

void set_color(int color);    /* lines, outlines and text */
void set_bk_color(int color); /* behind text and hatch lines, and fill pattern 0 */

/* Fill patterns: 0 background colour, 1 solid, 2 horizontal lines, 3 thin
 * rising lines, 4 thick rising lines, 5 thick falling lines, 6 thin falling
 * lines, 7 cross-hatch, 8 diagonal cross-hatch, 9 interleaved blocks, 10
 * sparse dots, 11 close dots; 12 is ignored; other numbers change nothing
 * and record KLV_ERROR_BAD_ARGUMENT. */
void set_fill_style(int pattern, int color);

/* Line styles: 0 solid, 1 dotted, 2 dash-dot, 3 dashed, 4 the 16-bit pattern
 * (bit 0 first). thickness in pixels, at least 1. A style outside 0 to 4 or a
 * thickness below 1 changes nothing and records KLV_ERROR_BAD_ARGUMENT. */
void set_line_style(int style, int pattern, int thickness);

/* Moves the origin of all drawing to (left, top); with clip non-zero drawing
 * is cut off at the rectangle (right and bottom edges excluded). */
void set_viewport(int left, int top, int right, int bottom, int clip);

int get_max_x(void); /* width - 1 of the current window */
int get_max_y(void); /* height - 1 */

/* The drawing and background colours as set. With no window current: -1
 * (white as an RGB value too: get_current_window tells the two apart). */
int get_color(void);
int get_bk_color(void);

/* A fill pattern of one's own: rows[0] is the top row, bit 7 its leftmost
 * pixel; 1 bits show color, 0 bits the background colour. Becomes fill
 * pattern 12, which set_fill_style(12, ...) keeps. Null rows change nothing
 * and record KLV_ERROR_BAD_ARGUMENT. */
void set_fill_pattern(const unsigned char rows[8], int color);

/* The palette behind colour numbers 0 to 15, shared by every window and
 * filled with the standard colours whenever a window is opened. Entry index
 * takes the RGB value of color (a colour number copies that entry). Pixels
 * already drawn keep their colour; a drawing or background colour that is
 * this number takes the new value at once, in every open window; a fill
 * style keeps the colour it was given until set again. Other indexes change
 * nothing and record KLV_ERROR_BAD_ARGUMENT. */
void set_palette_entry(int index, int color);
/* Entry index as the colour value of its RGB colour (as rgb_color gives it:
 * 0x00BBGGRR, or 0x01BBGGRR below 16, so black is 0x01000000); -1 (and
 * KLV_ERROR_BAD_ARGUMENT) for other indexes. */
int get_palette_entry(int index);

/* ---- pages and refresh ------------------------------------------------ */

/* Every window has four pages, 0 to 3, each the size of the window: drawing
 * goes to the active page, the screen shows the visual page. A page number
 * outside 0 to 3 changes nothing and records KLV_ERROR_BAD_ARGUMENT. The
 * fill style follows the drawing to a new active page. */
void set_active_page(int page);
void set_visual_page(int page); /* shown at once */
int get_active_page(void);      /* -1 when no window is current */
int get_visual_page(void);      /* -1 when no window is current */
/* Exchanges the active and visual pages: what was drawn is shown whole, and
 * drawing goes on on the page that was shown. Draw each frame, then swap. */
void swap_pages(void);
/* On (the default): what is drawn on the shown page appears as it is drawn.
 * Off: nothing drawn reaches the screen until redraw_window or a change of
 * visual page. Turning it on again shows nothing by itself. */
void set_auto_refresh(int on);
/* Shows the whole visual page now. */
void redraw_window(void);

/* ---- shapes ----------------------------------------------------------- */

void draw_line(int x1, int y1, int x2, int y2);
void draw_rectangle(int left, int top, int right, int bottom);
void fill_bar(int left, int top, int right, int bottom); /* right column, bottom row excluded */
/* A circular sector, angles in degrees counter-clockwise from 3 o'clock. */
void draw_pie_slice(int x, int y, int start_angle, int end_angle, int radius);

/* Circles, arcs and ellipses are centred on (x, y), in the box from
 * (x - x_radius, y - y_radius) to (x + x_radius, y + y_radius). Angles are
 * degrees counter-clockwise from 3 o'clock, any value; arcs run
 * counter-clockwise from the start angle to the end angle. A negative radius
 * names the same box, with the angles' points on the opposite side. A box
 * far larger than the page (a radius of 400000 whose edge crosses it) draws
 * the part of its outline that crosses the page, at the cost of that part.
 * Boxes wider or taller than 1073741824 (2^30) pixels draw nothing. */
void draw_circle(int x, int y, int radius);
/* When both angles give the same point (0 and 360), the whole closed circle. */
void draw_arc(int x, int y, int start_angle, int end_angle, int radius);
/* An elliptic arc; the whole closed ellipse when both angles give the same point. */
void draw_ellipse(int x, int y, int start_angle, int end_angle, int x_radius, int y_radius);
void fill_ellipse(int x, int y, int x_radius, int y_radius); /* filled with the fill style, outlined */
void draw_sector(int x, int y, int start_angle, int end_angle, int x_radius, int y_radius); /* elliptic pie slice */

/* count points in xy as x0, y0, x1, y1, ...; fewer than 2 points, or a null
 * xy, draw nothing. */
void draw_polyline(int count, const int* xy);
/* Closed, filled with the fill style (a point is inside when the outline
 * crosses a line from it an odd number of times) and outlined. */
void fill_polygon(int count, const int* xy);
/* Fills with the fill style from (x, y) outward, up to the pixels of the
 * border colour, the edges of the page and a clipping viewport. Nothing
 * when (x, y) has the border colour or lies outside. */
void flood_fill(int x, int y, int border);
/* A bar, outlined, with a side depth pixels deep drawn with lines, and a top
 * too when top_face is non-zero. */
void draw_bar_3d(int left, int top, int right, int bottom, int depth, int top_face);

/* ---- pixels and the current position ----------------------------------- */

void put_pixel(int x, int y, int color); /* nothing off the page or outside a clipping viewport */
/* The colour at (x, y): the number 0-15 of the first palette colour equal to
 * it, else the colour value of its RGB colour (as rgb_color gives it); -1 off
 * the page or outside a clipping viewport. */
int get_pixel(int x, int y);

/* The current position is where line_to and line_by start; draw_line leaves
 * it alone, set_viewport and the clearing functions put it at (0, 0). Sums
 * beyond the 32-bit range stop at its ends. */
void move_to(int x, int y);
void move_by(int dx, int dy);
void line_to(int x, int y); /* a line from the current position, which moves to (x, y) */
void line_by(int dx, int dy);
int get_x(void);
int get_y(void);

void clear_page(void);     /* the whole active page in the background colour, whatever the viewport */
void clear_viewport(void); /* the viewport rectangle in the background colour */

/* KLV_DRAW_COPY: lines and outlines paint the drawing colour. KLV_DRAW_XOR:
 * they invert the bits of the drawing colour in each pixel they cover, once,
 * so drawing the same again restores the page. Fills, filled shapes, pixels
 * and text always paint. Other values change nothing and record
 * KLV_ERROR_BAD_ARGUMENT. */
void set_write_mode(int mode);

/* ---- text ------------------------------------------------------------- */

/* font 0 to 10, direction 0 horizontal or 1 vertical (upward), size 1 to 10
 * or 0 for the font's default size. Other values change nothing and record
 * KLV_ERROR_BAD_ARGUMENT. */
void set_text_style(int font, int direction, int size);
/* Draws text (Windows-1252 bytes) with the top-left of its first cell at
 * (x, y); null draws nothing. */
void out_text_xy(int x, int y, const char* text);
int text_width(const char* text);  /* pixels along the line in the current font */
int text_height(const char* text); /* pixels across the line */

/* Where text stands against the point it is drawn at: h KLV_JUSTIFY_LEFT,
 * _CENTRE or _RIGHT, v KLV_JUSTIFY_BOTTOM, _BASELINE or _TOP (upward text:
 * h across the line, v along it). Default left, top. Other values change
 * nothing and record KLV_ERROR_BAD_ARGUMENT. */
void set_text_justify(int h, int v);
/* Draws text at the current position (null: nothing, and
 * KLV_ERROR_BAD_ARGUMENT). Level, left-justified text then moves the
 * current position to its right end. */
void out_text(const char* text);
/* Text size 0 scales the current font by mx/dx across and my/dy up, as
 * exact ratios (3, 2 is one and a half); the font is rebuilt at once, and
 * later size-0 styles keep the scale. A part below 1 changes nothing and
 * records KLV_ERROR_BAD_ARGUMENT. */
void set_text_scale(int mx, int dx, int my, int dy);

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
 * null removes it. The window handles nothing else until the handler
 * returns. Calls made in a handler act on its window, whichever is current;
 * there open_window (-1), close_window, set_current_window and
 * set_palette_entry are refused and record KLV_ERROR_BAD_ARGUMENT, and
 * wait_key returns -1 at once when nothing was typed. The handler shares its
 * window's pages and settings with the program's thread: drawing from both
 * at once is safe, but a program that changes settings (colours, styles,
 * viewport, pages) on one thread while the other draws must keep the two
 * apart itself. */
void set_mouse_handler(int kind, void (*handler)(int x, int y));
int get_mouse_x(void);
int get_mouse_y(void);

/* ---- errors ----------------------------------------------------------- */

/* The code of the last argument the current window's functions refused (0
 * when none was) and resets it to 0. A call that succeeds leaves the code as
 * it was. With no current window: the code of a call made while none was
 * current (set_current_window, set_palette_entry), reset likewise. */
int take_error(void);

/* A short English sentence for an error code; never null. */
const char* error_text(int code);

/* ---- images ----------------------------------------------------------- */

/* An image buffer, as grab_image fills it and paste_image reads it:
 *   int width, height;              both at least 1
 *   unsigned pixels[width * height]  rows top first, each 0x00RRGGBB
 * (blue in the low byte, the order of 32-bit BMP files; the top byte is 0
 * from grab_image and ignored by paste_image). A program may build one
 * itself: image_bytes gives its size, 8 + 4 * width * height. */

/* Bytes grab_image needs for the rectangle with these inclusive corners;
 * 0 when right < left, bottom < top, or the image would not fit in an int.
 * Needs no window. */
int image_bytes(int left, int top, int right, int bottom);
/* Copies the rectangle (logical, inclusive corners, clipping ignored) of the
 * active page into image, which holds image_bytes(...) bytes. Pixels off the
 * page read black. A null image, or a rectangle image_bytes refuses, changes
 * nothing and records KLV_ERROR_BAD_ARGUMENT. */
void grab_image(int left, int top, int right, int bottom, void* image);
/* Draws image with its top-left pixel at (x, y) on the active page,
 * clipped to the page and the viewport's clip, combined as mode says
 * (KLV_PASTE_COPY ...). The caller guarantees that image holds the 8 +
 * 4 * width * height bytes its own header announces; a header that no
 * grab could have written (a size below 1, or more bytes than an int
 * counts) is refused with KLV_ERROR_BAD_IMAGE, and nothing is read past it.
 * A null image or another mode records KLV_ERROR_BAD_ARGUMENT. */
void paste_image(int x, int y, const void* image, int mode);

/* Saves the region (inclusive corners, clipped to the page) of the visual
 * page, or of the active page: as a PNG file when the name ends in ".png"
 * (any case), else as a 24-bit BMP file. Returns 0 when written, 4 when the
 * file could not be written (an existing file is then left as it was), 20
 * when the image could not be made. */
int save_image(const char* file_name, int left, int top, int right, int bottom, bool use_active_page);

/* Draws the picture in a BMP file (1, 4, 8, 16, 24 or 32 bits per pixel,
 * uncompressed or with bit fields; 4 or 8 bits run-length encoded), a PNG
 * file (every kind) or a JPEG file (baseline or progressive; greyscale,
 * YCbCr, RGB, CMYK or Adobe's inverted CMYK) onto the active page with its
 * top-left corner at (x, y), clipped like the shapes (viewport origin and
 * clipping), and shows it.
 * - Pixels a run-length encoded BMP skips (a delta, a line or the bitmap
 *   ended early) keep the page's pixels.
 * - 16-bit PNG samples become the nearest 8-bit level
 *   ((v * 255 + 32767) / 65535). Transparent pixels are drawn over black:
 *   a pixel with alpha a gets colour * a / 255 rounded to the nearest
 *   level, taken at the file's precision.
 * - A JPEG photo whose EXIF orientation says it was taken turned is drawn
 *   upright (its width and height swap for a quarter turn).
 * Returns 0, or an error code (error_text says what it means), which the
 * window also records: KLV_ERROR_FILE_NOT_FOUND, KLV_ERROR_NOT_A_PICTURE,
 * KLV_ERROR_UNSUPPORTED_PICTURE (among them arithmetic-coded JPEG, and
 * JPEG of more than 500 scans), KLV_ERROR_DAMAGED_PICTURE,
 * KLV_ERROR_PICTURE_TOO_LARGE, KLV_ERROR_OUT_OF_MEMORY,
 * KLV_ERROR_BAD_ARGUMENT (no file name). A file that is not read whole
 * draws nothing. */
int load_image(const char* file_name, int x, int y);

/* ---- recording -------------------------------------------------------- */

/* Starts recording the current window into file_name as an animated GIF
 * that plays in a loop. Each time the window shows a new picture (a page
 * swap, a change of visual page, redraw_window, or what automatic refresh
 * shows of the drawing) the visual page becomes a frame, whose delay is the
 * time it stayed on the screen (in hundredths of a second, as GIF counts
 * them). At most 50 frames a second: a picture shown sooner after the frame
 * before waits, and the frame is what the window shows once that time is
 * up. A page of 256 colours or fewer is stored exactly; more are reduced to
 * 256 (median cut, refined by k-means). The file is encoded on a thread of
 * its own while the program runs, and written beside file_name until the
 * recording ends: record_frames(NULL), closing the window or the end of the
 * program (through exit or a return from main) puts it in place of
 * file_name; an existing file of that name stays as it was until then.
 * Returns 0, or (recording, too, the code in the window):
 * KLV_ERROR_CANNOT_WRITE_FILE (no file can be made there; also
 * record_frames(NULL) when the file could not be written whole),
 * KLV_ERROR_ALREADY_RECORDING (this window records already; the recording
 * goes on), KLV_ERROR_OUT_OF_MEMORY. record_frames(NULL) without a
 * recording returns 0.
 * KLV_RECORD=anim.gif in the environment records a program's first window
 * from its opening; KLV_RECORD_SECONDS=N ends that recording by itself after
 * N seconds (the program goes on). */
int record_frames(const char* file_name);

#ifdef __cplusplus
}
#endif

#endif

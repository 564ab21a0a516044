// The "Print ... wide" commands: a page region printed under a title.
#pragma once

#include "platform/ui/ui.h"

namespace klv {

// Prints the region (inclusive corners, device pixels of the page, pulled
// into the page and put in order when reversed) of the active or visual page
// on one page of one job named "Windows KLV": the title line (none: the
// window's title; nothing when that is empty) at the margins, and below it
// the region scaled to width inches with its proportions kept. Asks for the
// printer first; with no printer, on Cancel, or when the window's pages
// cannot be had within five seconds, nothing is printed. Reports nothing.
void print_command(const char* title, double width, double left_margin, double top_margin, int left, int top,
                   int right, int bottom, bool use_active_page, ui::Window* window);

// Where the command puts the title and the image, in printer dots.
struct PrintLayout {
    int title_x = 0;
    int title_y = 0;
    int image_x = 0;
    int image_y = 0;
    int image_width = 0;
    int image_height = 0;
};

// The layout for a region of region_width by region_height pixels on a
// printer of dpi_x by dpi_y dots per inch: the image is width inches wide
// and as tall as keeps the region's proportions, a quarter inch below the
// top margin when there is a title. Values are truncated toward zero; one
// that is not a number counts as 0 and one beyond the int range is pulled
// to its end. A resolution or region size below 1 gives all zeros.
PrintLayout print_layout(int dpi_x, int dpi_y, double width, double left_margin, double top_margin,
                         int region_width, int region_height, bool titled);

}  // namespace klv

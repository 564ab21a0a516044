// The drawing service the graphics library is written against.
//
// Every call has the effect of the Win32 GDI call it stands for (named in
// each comment), with GDI's rasterisation: see the raster engine's notes in
// the files that implement each operation. Coordinates given to drawing
// calls are logical (the viewport origin is added); clip regions and brush
// alignment are in device pixels. No call keeps a lock: callers serialise
// the use of one device context and of the objects selected into it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi_types.h"
#include "platform/gdi/objects.h"

namespace klv::gdi {

// ---- objects ---------------------------------------------------------------

// GetStockObject: WHITE_BRUSH, BLACK_BRUSH, NULL_BRUSH, WHITE_PEN, BLACK_PEN,
// NULL_PEN, SYSTEM_FONT, DEFAULT_PALETTE; null for any other number.
Object* stock_object(int which);

// DeleteObject. Stock objects are left alone (true). An object still selected
// into a device context is freed when the last one releases it.
bool delete_object(Object* object);

// ExtCreatePen (geometric or cosmetic, PS_SOLID / PS_USERSTYLE / PS_NULL,
// square, flat or round caps, bevel, miter or round joins). A user style
// needs 1 to 16 entries; null on bad arguments.
Pen* create_geometric_pen(std::uint32_t style, int width, ColorRef color, int dash_count,
                          const std::uint32_t* dashes);
// CreatePen: a cosmetic pen (width 0 or 1 is one pixel).
Pen* create_pen(int style, int width, ColorRef color);

Brush* create_solid_brush(ColorRef color);                 // CreateSolidBrush
Brush* create_hatch_brush(int hatch_style, ColorRef color);  // CreateHatchBrush; null for a bad style
Brush* create_pattern_brush(const Bitmap* pattern);        // CreatePatternBrush from a 1-bit 8 by 8 bitmap
// GetObject of a brush, then CreateBrushIndirect: a new brush of the same
// style, colour, hatch and pattern (null for null).
Brush* copy_brush(const Brush* brush);

// CreateBitmap: width by height, 1 plane; 1 or 32 bits per pixel. Null when
// the size is not positive or the memory cannot be had.
Bitmap* create_bitmap(int width, int height, int planes, int bits_per_pixel, const void* bits);
// CreateCompatibleBitmap: a 32-bit bitmap, black. Null when the size is not
// positive or the memory cannot be had.
Bitmap* create_compatible_bitmap(DeviceContext* dc, int width, int height);

// CreateRectRgn, normalised so that left <= right and top <= bottom.
Region* create_rect_region(int left, int top, int right, int bottom);

// ---- device contexts -------------------------------------------------------

// CreateCompatibleDC: a memory context with the stock objects and a 1 by 1
// monochrome bitmap selected.
DeviceContext* create_compatible_dc(DeviceContext* reference);
// DeleteDC: releases what is selected (deleting nothing) and frees the context.
bool delete_dc(DeviceContext* dc);

// SelectObject for pens, brushes, fonts and bitmaps: returns the object it
// replaces, or null (nothing changes) for a null or unsuitable object.
// Regions go through select_clip_region.
Object* select_object(DeviceContext* dc, Object* object);
// GetCurrentObject.
Object* current_object(DeviceContext* dc, ObjectKind kind);

ColorRef set_text_color(DeviceContext* dc, ColorRef color);        // returns the old one
ColorRef set_background_color(DeviceContext* dc, ColorRef color);  // behind text and hatch lines
int set_background_mode(DeviceContext* dc, int mode);              // SetBkMode
// SetROP2: R2_COPYPEN or R2_XORPEN (others are refused: 0, no change). Under
// R2_XORPEN each pixel of one call's outline is flipped once, and brushes
// and pixels flip too. Returns the old mode.
int set_rop2(DeviceContext* dc, int mode);
// SetPolyFillMode: ALTERNATE or WINDING, for polygon; returns the old mode.
int set_poly_fill_mode(DeviceContext* dc, int mode);
std::uint32_t set_text_align(DeviceContext* dc, std::uint32_t flags);
std::uint32_t text_align(const DeviceContext* dc);

// SelectClipRgn: copies the region; null removes clipping.
void select_clip_region(DeviceContext* dc, const Region* region);
// SetViewportOrgEx.
void set_viewport_origin(DeviceContext* dc, int x, int y, Point* old_origin);
// LPtoDP / DPtoLP, in place.
void logical_to_device(const DeviceContext* dc, Point* points, int count);
void device_to_logical(const DeviceContext* dc, Point* points, int count);

// SelectPalette / RealizePalette.
Palette* select_palette(DeviceContext* dc, Palette* palette);
int realize_palette(DeviceContext* dc);

// GetDeviceCaps.
int device_caps(const DeviceContext* dc, int index);

// ---- drawing ---------------------------------------------------------------

void move_to(DeviceContext* dc, int x, int y, Point* old_position);  // MoveToEx
void line_to(DeviceContext* dc, int x, int y);                       // LineTo
void polyline(DeviceContext* dc, const Point* points, int count);    // Polyline
// FillRect: left/top included, right/bottom excluded, whichever is larger.
void fill_rect(DeviceContext* dc, const Rect& rect, const Brush* brush);
// Pie: box, start point, end point; arc counter-clockwise.
void pie(DeviceContext* dc, int left, int top, int right, int bottom, int x_start, int y_start, int x_end,
         int y_end);
// Arc: the open outline of Pie's ellipse from the start point's direction
// counter-clockwise to the end point's; a whole turn when both directions
// give the same outline point (open: the pixel before the start is painted
// only when the step into it is sloped).
void arc(DeviceContext* dc, int left, int top, int right, int bottom, int x_start, int y_start, int x_end,
         int y_end);
// Ellipse: the closed outline of the box's ellipse with the pen over its
// inside with the brush; boxes two pixels across or less are Rectangle.
void ellipse(DeviceContext* dc, int left, int top, int right, int bottom);
// Polygon: closed through every point, the inside filled by the poly fill
// mode's rule, pen last. Fewer than two points draw nothing.
void polygon(DeviceContext* dc, const Point* points, int count);
// ExtFloodFill from a logical point: FLOODFILLBORDER fills the pixels
// reachable (left, right, up, down) from it that are not the colour, up to
// the page and the clip; FLOODFILLSURFACE those that are the colour. The
// area is found on the page as it was, then painted once with the brush.
// False (nothing painted) when the start point cannot be filled.
bool ext_flood_fill(DeviceContext* dc, int x, int y, ColorRef color, int kind);

// SetPixelV at a logical point (dropped off the page or the clip).
void set_pixel(DeviceContext* dc, int x, int y, ColorRef color);
// GetPixel at a logical point; CLR_INVALID off the page or the clip.
ColorRef get_pixel(const DeviceContext* dc, int x, int y);

// BitBlt with SRCCOPY; both positions logical in their own context.
void bit_blt(DeviceContext* destination, int x, int y, int width, int height, const DeviceContext* source,
             int source_x, int source_y);
// StretchBlt with SRCCOPY and nearest-pixel sampling (each source pixel a sharp block).
void stretch_blt(DeviceContext* destination, int x, int y, int width, int height, const DeviceContext* source,
                 int source_x, int source_y, int source_width, int source_height);

// StretchDIBits at one to one from a 32-bit image in memory: width by height
// pixels 0x00RRGGBB, rows top first, at any address (the top byte is
// ignored). Drawn at logical (x, y) with SRCCOPY, SRCINVERT, SRCPAINT, SRCAND
// or NOTSRCCOPY, clipped as BitBlt's destination is; another raster
// operation draws nothing. The caller guarantees 4 * width * height bytes.
void draw_image_bits(DeviceContext* dc, int x, int y, int width, int height, const void* bits, std::uint32_t rop);
// The logical rectangle's pixels into a 32-bit image in memory laid out as
// above, as BitBlt into a black bitmap gives them: pixels off the bitmap
// read black, and the clip region plays no part.
void read_image_bits(const DeviceContext* dc, int x, int y, int width, int height, void* bits);

// ---- text (platform/gdi/font.h has the font object) ------------------------

struct TextMetrics {
    int height = 0;  // ascent + descent
    int ascent = 0;
    int descent = 0;
    int average_char_width = 0;
    int max_char_width = 0;
};

// TextOutA: bytes are characters of the Windows-1252 code page.
void text_out(DeviceContext* dc, int x, int y, const char* text, int length);
// GetTextExtentPoint32A: the size along and across the line, unrotated.
Size text_extent(DeviceContext* dc, const char* text, int length);
// GetTextMetricsA.
TextMetrics text_metrics(DeviceContext* dc);

}  // namespace klv::gdi

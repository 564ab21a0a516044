// Basic types and the numeric constants of the drawing service.
//
// The numbers are the ones Win32 GDI uses, so that values which travel
// through the library (text alignment flags, hatch styles, pen styles,
// stock object numbers) keep their meaning.
#pragma once

#include <cstdint>

namespace klv::gdi {

// A colour as callers name it: 0x00BBGGRR (red in the lowest byte).
using ColorRef = std::uint32_t;
// A pixel as a 32-bit bitmap stores it: 0x00RRGGBB (bytes B, G, R, X in memory).
using Pixel = std::uint32_t;

constexpr ColorRef make_color(int red, int green, int blue) {
    return ColorRef(red & 0xFF) | (ColorRef(green & 0xFF) << 8) | (ColorRef(blue & 0xFF) << 16);
}
constexpr Pixel pixel_from_color(ColorRef c) {
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr ColorRef color_from_pixel(Pixel p) {
    return ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
}

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
};

// Right and bottom edges are exclusive wherever a Rect describes pixels.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Pen styles (ExtCreatePen).
constexpr std::uint32_t PS_SOLID = 0;
constexpr std::uint32_t PS_NULL = 5;
constexpr std::uint32_t PS_USERSTYLE = 7;
constexpr std::uint32_t PS_STYLE_MASK = 0x0F;
constexpr std::uint32_t PS_ENDCAP_ROUND = 0x000;
constexpr std::uint32_t PS_ENDCAP_SQUARE = 0x100;
constexpr std::uint32_t PS_ENDCAP_FLAT = 0x200;
constexpr std::uint32_t PS_ENDCAP_MASK = 0xF00;
constexpr std::uint32_t PS_JOIN_ROUND = 0x0000;
constexpr std::uint32_t PS_JOIN_BEVEL = 0x1000;
constexpr std::uint32_t PS_JOIN_MITER = 0x2000;
constexpr std::uint32_t PS_JOIN_MASK = 0xF000;
constexpr std::uint32_t PS_COSMETIC = 0x00000;
constexpr std::uint32_t PS_GEOMETRIC = 0x10000;
constexpr std::uint32_t PS_TYPE_MASK = 0xF0000;

// Brush styles and hatch styles.
constexpr std::uint32_t BS_SOLID = 0;
constexpr std::uint32_t BS_NULL = 1;
constexpr std::uint32_t BS_HATCHED = 2;
constexpr std::uint32_t BS_PATTERN = 3;
constexpr int HS_HORIZONTAL = 0;
constexpr int HS_VERTICAL = 1;
constexpr int HS_FDIAGONAL = 2;
constexpr int HS_BDIAGONAL = 3;
constexpr int HS_CROSS = 4;
constexpr int HS_DIAGCROSS = 5;

// Text alignment.
constexpr std::uint32_t TA_NOUPDATECP = 0;
constexpr std::uint32_t TA_UPDATECP = 1;
constexpr std::uint32_t TA_LEFT = 0;
constexpr std::uint32_t TA_RIGHT = 2;
constexpr std::uint32_t TA_CENTER = 6;
constexpr std::uint32_t TA_TOP = 0;
constexpr std::uint32_t TA_BOTTOM = 8;
constexpr std::uint32_t TA_BASELINE = 24;
constexpr std::uint32_t TA_HORIZONTAL_MASK = 6;
constexpr std::uint32_t TA_VERTICAL_MASK = 24;

// Raster operations of BitBlt: how a source pixel s and the destination
// pixel d combine.
constexpr std::uint32_t SRCCOPY = 0x00CC0020;     // s
constexpr std::uint32_t SRCPAINT = 0x00EE0086;    // d OR s
constexpr std::uint32_t SRCAND = 0x008800C6;      // d AND s
constexpr std::uint32_t SRCINVERT = 0x00660046;   // d XOR s
constexpr std::uint32_t NOTSRCCOPY = 0x00330008;  // NOT s

// Mixing of pens (and brushes and pixels) with the page (SetROP2).
constexpr int R2_XORPEN = 7;
constexpr int R2_COPYPEN = 13;

// Polygon fill modes.
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

// Flood fill kinds.
constexpr int FLOODFILLBORDER = 0;
constexpr int FLOODFILLSURFACE = 1;

// What GetPixel answers for a point it cannot read.
constexpr ColorRef CLR_INVALID = 0xFFFFFFFF;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Stock objects (GetStockObject numbers).
constexpr int WHITE_BRUSH = 0;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int SYSTEM_FONT = 13;
constexpr int DEFAULT_PALETTE = 15;

// Device capabilities.
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int RASTERCAPS = 38;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int RC_BITBLT = 1;
constexpr int RC_STRETCHBLT = 0x800;

// Font weights and character sets.
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
constexpr int DEFAULT_CHARSET = 1;

}  // namespace klv::gdi

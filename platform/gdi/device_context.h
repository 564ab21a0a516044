// A device context: a bitmap to draw on and the drawing state that goes with
// it. Memory device contexts are the only kind: a window's screen image and
// a printer page are bitmaps too.
#pragma once

#include <algorithm>
#include <optional>

#include "platform/gdi/objects.h"

namespace klv::gdi {

struct DeviceContext {
    Bitmap* bitmap = nullptr;  // a 1 by 1 monochrome stock bitmap until one is selected
    Pen* pen = nullptr;        // stock black pen
    Brush* brush = nullptr;    // stock white brush
    Font* font = nullptr;      // stock system font
    Palette* palette = nullptr;
    ColorRef text_color = 0x000000;
    ColorRef background_color = 0xFFFFFF;
    int background_mode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int poly_fill_mode = ALTERNATE;
    std::uint32_t text_align = TA_LEFT | TA_TOP;
    std::optional<Rect> clip;  // device pixels; none: the whole bitmap
    Point viewport_origin;     // logical (0, 0) is this device pixel
    Point position;            // current position, logical
    // Device capabilities a printer page reports; a memory context reports 96 dpi.
    int dots_per_inch_x = 96;
    int dots_per_inch_y = 96;
    bool takes_bitmaps = true;

    // The rectangle drawing may touch: the bitmap's bounds cut by the clip.
    Rect drawable_area() const {
        Rect area{0, 0, bitmap ? bitmap->width() : 0, bitmap ? bitmap->height() : 0};
        if (clip) {
            area.left = std::max(area.left, clip->left);
            area.top = std::max(area.top, clip->top);
            area.right = std::min(area.right, clip->right);
            area.bottom = std::min(area.bottom, clip->bottom);
        }
        if (area.right < area.left) area.right = area.left;
        if (area.bottom < area.top) area.bottom = area.top;
        return area;
    }
};

}  // namespace klv::gdi

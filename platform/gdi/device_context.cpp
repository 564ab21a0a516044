// Memory device contexts: creation, selection of objects and the drawing
// state (colours, modes, clip region, viewport origin).
#include "platform/gdi/device_context.h"

#include <algorithm>
#include <utility>

#include "platform/gdi/font.h"
#include "platform/gdi/gdi.h"

namespace klv::gdi {

namespace {

template <typename T>
Object* swap_in(T*& slot, Object* object) {
    T* old = slot;
    slot = static_cast<T*>(object);
    ObjectLifetime::on_selected(object);
    ObjectLifetime::on_deselected(old);
    return old;
}

Object* replace(DeviceContext* dc, Object* object) {
    switch (object->kind()) {
        case ObjectKind::pen: return swap_in(dc->pen, object);
        case ObjectKind::brush: return swap_in(dc->brush, object);
        case ObjectKind::font: return swap_in(dc->font, object);
        case ObjectKind::bitmap: return swap_in(dc->bitmap, object);
        case ObjectKind::palette: return swap_in(dc->palette, object);
        case ObjectKind::region: break;
    }
    return nullptr;
}

Bitmap* stock_mono_bitmap() {
    static Bitmap* const bitmap = [] {
        auto* b = new Bitmap(1, 1, 1);
        ObjectLifetime::mark_stock(b);
        return b;
    }();
    return bitmap;
}

}  // namespace

DeviceContext* create_compatible_dc(DeviceContext*) {
    auto* dc = new DeviceContext;
    dc->bitmap = stock_mono_bitmap();
    dc->pen = static_cast<Pen*>(stock_object(BLACK_PEN));
    dc->brush = static_cast<Brush*>(stock_object(WHITE_BRUSH));
    dc->font = static_cast<Font*>(stock_object(SYSTEM_FONT));
    dc->palette = static_cast<Palette*>(stock_object(DEFAULT_PALETTE));
    return dc;
}

bool delete_dc(DeviceContext* dc) {
    if (!dc) return false;
    ObjectLifetime::on_deselected(dc->bitmap);
    ObjectLifetime::on_deselected(dc->pen);
    ObjectLifetime::on_deselected(dc->brush);
    ObjectLifetime::on_deselected(dc->font);
    ObjectLifetime::on_deselected(dc->palette);
    delete dc;
    return true;
}

Object* select_object(DeviceContext* dc, Object* object) {
    if (!dc || !object) return nullptr;
    switch (object->kind()) {
        case ObjectKind::pen:
        case ObjectKind::brush:
        case ObjectKind::font:
        case ObjectKind::bitmap: return replace(dc, object);
        default: return nullptr;
    }
}

Object* current_object(DeviceContext* dc, ObjectKind kind) {
    if (!dc) return nullptr;
    switch (kind) {
        case ObjectKind::pen: return dc->pen;
        case ObjectKind::brush: return dc->brush;
        case ObjectKind::font: return dc->font;
        case ObjectKind::bitmap: return dc->bitmap;
        case ObjectKind::palette: return dc->palette;
        case ObjectKind::region: break;
    }
    return nullptr;
}

// A null context changes nothing and reports 0.
ColorRef set_text_color(DeviceContext* dc, ColorRef color) {
    if (!dc) return 0;
    return std::exchange(dc->text_color, color & 0xFFFFFF);
}

ColorRef set_background_color(DeviceContext* dc, ColorRef color) {
    if (!dc) return 0;
    return std::exchange(dc->background_color, color & 0xFFFFFF);
}

int set_background_mode(DeviceContext* dc, int mode) {
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    return std::exchange(dc->background_mode, mode);
}

int set_rop2(DeviceContext* dc, int mode) {
    if (!dc || (mode != R2_COPYPEN && mode != R2_XORPEN)) return 0;
    return std::exchange(dc->rop2, mode);
}

int set_poly_fill_mode(DeviceContext* dc, int mode) {
    if (!dc || (mode != ALTERNATE && mode != WINDING)) return 0;
    return std::exchange(dc->poly_fill_mode, mode);
}

std::uint32_t set_text_align(DeviceContext* dc, std::uint32_t flags) {
    return dc ? std::exchange(dc->text_align, flags) : 0;
}
std::uint32_t text_align(const DeviceContext* dc) { return dc ? dc->text_align : 0; }

void select_clip_region(DeviceContext* dc, const Region* region) {
    if (!dc) return;
    if (region)
        dc->clip = region->rect();
    else
        dc->clip.reset();
}

void set_viewport_origin(DeviceContext* dc, int x, int y, Point* old_origin) {
    if (!dc) return;
    if (old_origin) *old_origin = dc->viewport_origin;
    dc->viewport_origin = {x, y};
}

// Device coordinates wrap to 32 bits here, as they do in GDI's interface;
// the drawing calls themselves work in 64 bits and never wrap.
void logical_to_device(const DeviceContext* dc, Point* points, int count) {
    if (!dc || !points) return;
    for (int i = 0; i < count; ++i) {
        points[i].x = int(std::uint32_t(points[i].x) + std::uint32_t(dc->viewport_origin.x));
        points[i].y = int(std::uint32_t(points[i].y) + std::uint32_t(dc->viewport_origin.y));
    }
}

void device_to_logical(const DeviceContext* dc, Point* points, int count) {
    if (!dc || !points) return;
    for (int i = 0; i < count; ++i) {
        points[i].x = int(std::uint32_t(points[i].x) - std::uint32_t(dc->viewport_origin.x));
        points[i].y = int(std::uint32_t(points[i].y) - std::uint32_t(dc->viewport_origin.y));
    }
}

Palette* select_palette(DeviceContext* dc, Palette* palette) {
    if (!dc || !palette) return nullptr;
    return static_cast<Palette*>(replace(dc, palette));
}

int realize_palette(DeviceContext*) { return 0; }  // a 32-bit page shows every colour as it is

int device_caps(const DeviceContext* dc, int index) {
    if (!dc) return 0;
    switch (index) {
        case HORZRES: return dc->bitmap ? dc->bitmap->width() : 0;
        case VERTRES: return dc->bitmap ? dc->bitmap->height() : 0;
        case BITSPIXEL: return dc->bitmap ? dc->bitmap->bits_per_pixel() : 32;
        case PLANES: return 1;
        case RASTERCAPS: return dc->takes_bitmaps ? RC_BITBLT | RC_STRETCHBLT : 0;
        case LOGPIXELSX: return dc->dots_per_inch_x;
        case LOGPIXELSY: return dc->dots_per_inch_y;
        default: return 0;
    }
}

void move_to(DeviceContext* dc, int x, int y, Point* old_position) {
    if (!dc) return;
    if (old_position) *old_position = dc->position;
    dc->position = {x, y};
}

}  // namespace klv::gdi

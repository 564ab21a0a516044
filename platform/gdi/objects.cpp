// Object creation, stock objects and the deferred freeing of objects that
// are still selected.
#include <cstring>
#include <new>
#include <stdexcept>

#include "platform/gdi/font.h"
#include "platform/gdi/gdi.h"

namespace klv::gdi {

namespace {

// The largest bitmap we agree to allocate, in pixels (1 GiB of 32-bit pixels):
// larger requests fail cleanly instead of exhausting the machine.
constexpr std::uint64_t kMaxBitmapPixels = std::uint64_t(1) << 28;

template <typename T>
T* make_stock(T* object) {
    ObjectLifetime::mark_stock(object);
    return object;
}

Brush* solid(ColorRef color) { return new Brush(BS_SOLID, color & 0xFFFFFF, 0, {}); }

}  // namespace

Bitmap::Bitmap(int width, int height, int bits_per_pixel)
    : Object(ObjectKind::bitmap), width_(width), height_(height), bits_per_pixel_(bits_per_pixel) {
    if (width <= 0 || height <= 0 || std::uint64_t(width) * std::uint64_t(height) > kMaxBitmapPixels)
        throw std::bad_alloc();
    if (bits_per_pixel == 1)
        mono_bits_.assign(std::size_t(mono_stride()) * std::size_t(height), 0);
    else
        pixels_.assign(std::size_t(width) * std::size_t(height), 0);
}

bool Bitmap::mono_bit(int x, int y) const {
    if (bits_per_pixel_ != 1 || x < 0 || y < 0 || x >= width_ || y >= height_) return false;
    return (mono_bits_[std::size_t(y) * std::size_t(mono_stride()) + std::size_t(x / 8)] >> (7 - x % 8)) & 1;
}

void ObjectLifetime::on_selected(Object* object) {
    if (object && !object->stock_) ++object->selections_;
}

void ObjectLifetime::on_deselected(Object* object) {
    if (!object || object->stock_) return;
    if (--object->selections_ == 0 && object->delete_pending_) delete object;
}

bool ObjectLifetime::request_delete(Object* object) {
    if (object->stock_) return true;
    if (object->selections_ > 0) {
        object->delete_pending_ = true;
        return true;
    }
    delete object;
    return true;
}

Object* stock_object(int which) {
    // Created once, never freed; the counters of stock objects are never
    // touched, so windows on different threads may share them freely.
    static Brush* const white_brush = make_stock(solid(0xFFFFFF));
    static Brush* const black_brush = make_stock(solid(0x000000));
    static Brush* const null_brush = make_stock(new Brush(BS_NULL, 0, 0, {}));
    static Pen* const white_pen = make_stock(new Pen({PS_COSMETIC | PS_SOLID, 1, 0xFFFFFF, {}}));
    static Pen* const black_pen = make_stock(new Pen({PS_COSMETIC | PS_SOLID, 1, 0x000000, {}}));
    static Pen* const null_pen = make_stock(new Pen({PS_COSMETIC | PS_NULL, 1, 0, {}}));
    static Palette* const palette = make_stock(new Palette({0x000000, 0xFFFFFF}));
    switch (which) {
        case WHITE_BRUSH: return white_brush;
        case BLACK_BRUSH: return black_brush;
        case NULL_BRUSH: return null_brush;
        case WHITE_PEN: return white_pen;
        case BLACK_PEN: return black_pen;
        case NULL_PEN: return null_pen;
        case DEFAULT_PALETTE: return palette;
        case SYSTEM_FONT: {
            static Font* const font = make_stock(create_font(FontDescription{
                .height = 16, .weight = FW_BOLD, .face_name = "System"}));
            return font;
        }
        default: return nullptr;
    }
}

bool delete_object(Object* object) {
    if (!object) return false;
    return ObjectLifetime::request_delete(object);
}

Pen* create_geometric_pen(std::uint32_t style, int width, ColorRef color, int dash_count,
                          const std::uint32_t* dashes) {
    std::uint32_t kind = style & PS_STYLE_MASK;
    if (kind != PS_SOLID && kind != PS_NULL && kind != PS_USERSTYLE) return nullptr;
    if (width < 0) return nullptr;
    PenDescription d{style, width, color & 0xFFFFFF, {}};
    if (kind == PS_USERSTYLE) {
        if (dash_count < 1 || dash_count > 16 || !dashes) return nullptr;
        d.dashes.assign(dashes, dashes + dash_count);
    }
    if ((style & PS_TYPE_MASK) == PS_COSMETIC) d.width = 1;
    return new Pen(std::move(d));
}

Pen* create_pen(int style, int width, ColorRef color) {
    if (style != int(PS_SOLID) && style != int(PS_NULL)) return nullptr;
    return new Pen({PS_COSMETIC | std::uint32_t(style), width < 1 ? 1 : width, color & 0xFFFFFF, {}});
}

Brush* create_solid_brush(ColorRef color) { return solid(color); }

Brush* create_hatch_brush(int hatch_style, ColorRef color) {
    if (hatch_style < HS_HORIZONTAL || hatch_style > HS_DIAGCROSS) return nullptr;
    return new Brush(BS_HATCHED, color & 0xFFFFFF, hatch_style, {});
}

Brush* create_pattern_brush(const Bitmap* pattern) {
    if (!pattern || pattern->bits_per_pixel() != 1 || pattern->width() < 8 || pattern->height() < 8) return nullptr;
    PatternRows rows{};
    for (int y = 0; y < 8; ++y) rows[std::size_t(y)] = pattern->mono_bits()[std::size_t(y * pattern->mono_stride())];
    return new Brush(BS_PATTERN, 0, 0, rows);
}

Brush* copy_brush(const Brush* brush) {
    return brush ? new Brush(brush->style(), brush->color(), brush->hatch(), brush->pattern_rows()) : nullptr;
}

Bitmap* create_bitmap(int width, int height, int planes, int bits_per_pixel, const void* bits) {
    if (planes != 1 || (bits_per_pixel != 1 && bits_per_pixel != 32)) return nullptr;
    try {
        auto* bitmap = new Bitmap(width, height, bits_per_pixel);
        if (bits && bits_per_pixel == 1)
            std::memcpy(bitmap->mono_bits().data(), bits, bitmap->mono_bits().size());
        else if (bits)
            std::memcpy(bitmap->pixels(), bits, std::size_t(width) * std::size_t(height) * sizeof(Pixel));
        return bitmap;
    } catch (const std::bad_alloc&) {
        return nullptr;
    } catch (const std::length_error&) {
        return nullptr;
    }
}

Bitmap* create_compatible_bitmap(DeviceContext*, int width, int height) {
    return create_bitmap(width, height, 1, 32, nullptr);
}

Region* create_rect_region(int left, int top, int right, int bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    return new Region({left, top, right, bottom});
}

}  // namespace klv::gdi

// The drawing objects a device context can hold: pens, brushes, bitmaps,
// fonts, regions and palettes.
//
// Objects are created on the heap and named by pointer, as handles are in
// the system this library descends from. delete_object on an object that is
// still selected into a device context only marks it: it is freed when the
// last device context lets go of it. Stock objects are never freed.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/gdi_types.h"

namespace klv::gdi {

enum class ObjectKind { pen, brush, font, bitmap, region, palette };

class Object {
public:
    explicit Object(ObjectKind kind) : kind_(kind) {}
    virtual ~Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    ObjectKind kind() const { return kind_; }
    bool is_stock() const { return stock_; }

private:
    friend class ObjectLifetime;
    ObjectKind kind_;
    bool stock_ = false;
    bool delete_pending_ = false;
    int selections_ = 0;  // device contexts that hold this object
};

// What ExtCreatePen is given: style bits, width, the brush description's
// colour and the user dash array (count 0 to 16).
struct PenDescription {
    std::uint32_t style = PS_GEOMETRIC | PS_SOLID;
    int width = 1;
    ColorRef color = 0;
    std::vector<std::uint32_t> dashes;
};

class Pen final : public Object {
public:
    explicit Pen(PenDescription description) : Object(ObjectKind::pen), description_(std::move(description)) {}
    const PenDescription& description() const { return description_; }
    bool is_geometric() const { return (description_.style & PS_TYPE_MASK) == PS_GEOMETRIC; }
    bool is_user_style() const { return (description_.style & PS_STYLE_MASK) == PS_USERSTYLE; }
    bool is_null() const { return (description_.style & PS_STYLE_MASK) == PS_NULL; }

private:
    PenDescription description_;
};

// 8 by 8 monochrome pattern: row y is pattern_rows[y], bit 7 is x = 0.
using PatternRows = std::array<std::uint8_t, 8>;

class Brush final : public Object {
public:
    Brush(std::uint32_t style, ColorRef color, int hatch, PatternRows rows)
        : Object(ObjectKind::brush), style_(style), color_(color), hatch_(hatch), rows_(rows) {}
    std::uint32_t style() const { return style_; }
    ColorRef color() const { return color_; }
    int hatch() const { return hatch_; }
    const PatternRows& pattern_rows() const { return rows_; }

private:
    std::uint32_t style_;
    ColorRef color_;
    int hatch_;
    PatternRows rows_;
};

// A bitmap of 1 or 32 bits per pixel. 32-bit pixels are 0x00RRGGBB, rows top
// first, no padding. 1-bit bitmaps keep their rows as 16-bit-aligned bytes,
// as CreateBitmap receives them (bit 7 of a byte is the leftmost pixel).
class Bitmap final : public Object {
public:
    Bitmap(int width, int height, int bits_per_pixel);

    int width() const { return width_; }
    int height() const { return height_; }
    int bits_per_pixel() const { return bits_per_pixel_; }

    Pixel* row(int y) { return pixels_.data() + std::size_t(y) * std::size_t(width_); }
    const Pixel* row(int y) const { return pixels_.data() + std::size_t(y) * std::size_t(width_); }
    Pixel* pixels() { return pixels_.data(); }
    const Pixel* pixels() const { return pixels_.data(); }

    std::vector<std::uint8_t>& mono_bits() { return mono_bits_; }
    const std::vector<std::uint8_t>& mono_bits() const { return mono_bits_; }
    int mono_stride() const { return ((width_ + 15) / 16) * 2; }
    bool mono_bit(int x, int y) const;

private:
    int width_;
    int height_;
    int bits_per_pixel_;
    std::vector<Pixel> pixels_;
    std::vector<std::uint8_t> mono_bits_;
};

// A rectangular region in device pixels; right and bottom exclusive.
class Region final : public Object {
public:
    explicit Region(Rect rect) : Object(ObjectKind::region), rect_(rect) {}
    const Rect& rect() const { return rect_; }
    bool is_empty() const { return rect_.left >= rect_.right || rect_.top >= rect_.bottom; }

private:
    Rect rect_;
};

// A logical palette: the colours a device of 8 bits or fewer shows.
class Palette final : public Object {
public:
    explicit Palette(std::vector<ColorRef> entries) : Object(ObjectKind::palette), entries_(std::move(entries)) {}
    const std::vector<ColorRef>& entries() const { return entries_; }

private:
    std::vector<ColorRef> entries_;
};

class Font;  // platform/gdi/font.h

// Selection bookkeeping, used by the device context.
class ObjectLifetime {
public:
    static void mark_stock(Object* object) { object->stock_ = true; }
    static void on_selected(Object* object);
    static void on_deselected(Object* object);
    static bool request_delete(Object* object);
};

}  // namespace klv::gdi

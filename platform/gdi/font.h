// Font objects: what CreateFontA is given, resolved to an installed face.
#pragma once

#include <memory>
#include <string>

#include "platform/gdi/objects.h"

namespace klv::gdi {

// The arguments of CreateFontA, with GDI's meanings: a positive height is the
// cell height (ascent plus descent), 0 the face's default size; a width of 0
// keeps the face's proportions, otherwise it is the average character width;
// escapement and orientation are tenths of a degree, counter-clockwise.
struct FontDescription {
    int height = 0;
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = FW_NORMAL;
    bool italic = false;
    bool underline = false;
    bool strike_out = false;
    int char_set = DEFAULT_CHARSET;
    int out_precision = 0;
    int clip_precision = 0;
    int quality = 0;
    int pitch_and_family = 0;
    std::string face_name;
};

class FontFace;  // the resolved, rendered face (font implementation)

class Font final : public Object {
public:
    explicit Font(FontDescription description);
    ~Font() override;
    const FontDescription& description() const { return description_; }
    FontFace& face() const { return *face_; }

private:
    FontDescription description_;
    std::unique_ptr<FontFace> face_;
};

// CreateFontA. Never null: a face that is not installed falls back to a
// default face.
Font* create_font(const FontDescription& description);

}  // namespace klv::gdi

#include "platform/gdi/font.h"

#include "platform/gdi/font_face.h"

namespace klv::gdi {

Font::Font(FontDescription description)
    : Object(ObjectKind::font),
      description_(std::move(description)),
      face_(std::make_unique<FontFace>(description_)) {}

Font::~Font() = default;

Font* create_font(const FontDescription& description) { return new Font(description); }

}  // namespace klv::gdi

// Placeholder until the FreeType-backed fonts land: a font object that
// measures and draws nothing.
#include "platform/gdi/font.h"

#include "platform/gdi/gdi.h"

namespace klv::gdi {

class FontFace {};

Font::Font(FontDescription description)
    : Object(ObjectKind::font), description_(std::move(description)), face_(std::make_unique<FontFace>()) {}
Font::~Font() = default;

Font* create_font(const FontDescription& description) { return new Font(description); }

void text_out(DeviceContext*, int, int, const char*, int) {}
Size text_extent(DeviceContext*, const char*, int) { return {}; }
TextMetrics text_metrics(DeviceContext*) { return {}; }

}  // namespace klv::gdi

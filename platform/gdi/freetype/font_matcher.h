// Where a family asked for in a given style is installed: the one question
// the face resolver puts to the system. On Linux fontconfig answers it
// (fontconfig/font_matcher.cpp); in a web page a table made from
// fontconfig's answers on the build machine, for the font files packed with
// the program (web/font_matcher.cpp). Internal to platform/gdi/freetype.
#pragma once

#include <string>
#include <vector>

#include "platform/gdi/freetype/font_resolver.h"

namespace klv::gdi {

// A family to try, with the style it is to be used in.
struct FontCandidate {
    std::string family;
    bool bold = false;
    bool italic = false;
    bool generic = false;  // "sans-serif" and the like: any family will do
};

// The installed face for the candidate; false when the family is not
// installed (a generic family always is, where any font is).
bool match_font(const FontCandidate& candidate, ResolvedFace& out);

// Every family, in every style, that the resolver can ask for from its own
// tables (the names a program passes for other faces aside).
std::vector<FontCandidate> families_asked_for();

}  // namespace klv::gdi

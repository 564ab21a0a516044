// Installed faces through fontconfig.
#include "platform/gdi/freetype/font_matcher.h"

#include <fontconfig/fontconfig.h>


namespace klv::gdi {

namespace {

bool has_family(FcPattern* match, const std::string& family) {
    FcChar8* value = nullptr;
    const auto* wanted = reinterpret_cast<const FcChar8*>(family.c_str());
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &value) == FcResultMatch; ++i)
        if (FcStrCmpIgnoreCase(value, wanted) == 0) return true;
    return false;
}

bool fontconfig_ready() {
    static const bool ready = FcInit() == FcTrue;
    return ready;
}

}  // namespace

// Asks fontconfig for one candidate; false when it offers another family.
bool match_font(const FontCandidate& candidate, ResolvedFace& out) {
    if (!fontconfig_ready()) return false;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(candidate.family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, candidate.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, candidate.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    FcChar8* file = nullptr;
    FcChar8* family = nullptr;
    bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
              FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch &&
              (candidate.generic || has_family(match, candidate.family));
    if (ok) {
        int index = 0;
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        out.file = reinterpret_cast<const char*>(file);
        out.index = index;
        out.family = candidate.generic ? reinterpret_cast<const char*>(family) : candidate.family;
        out.bold = candidate.bold;
        out.italic = candidate.italic;
    }
    FcPatternDestroy(match);
    return ok;
}

}  // namespace klv::gdi

// Under AddressSanitizer: fontconfig loses a few hundred bytes while it
// parses its configuration files, once per process. That is not ours to
// mend, and it would fail every program that draws text, so the leak
// checker passes over leaks from inside fontconfig. (It lives here, beside
// the only caller of fontconfig, so that every program using it links it.)
#if defined(__SANITIZE_ADDRESS__)
#define KLV_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KLV_LEAK_CHECKED 1
#endif
#endif
#ifdef KLV_LEAK_CHECKED
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
// Quietly: a program's stderr stays its own (the list of suppressions used
// would otherwise follow every program that drew text).
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif

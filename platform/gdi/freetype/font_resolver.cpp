#include "platform/gdi/freetype/font_resolver.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>
#include <vector>

namespace klv::gdi {

namespace {

// A family to try, with the style it is to be used in.
struct Candidate {
    std::string family;
    bool bold = false;
    bool italic = false;
    bool generic = false;  // "sans-serif" and the like: any family will do
};

std::string lower_trimmed(const std::string& text) {
    std::string out;
    for (char c : text) out += char(std::tolower(static_cast<unsigned char>(c)));
    auto first = out.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

bool strip_suffix(std::string& name, const std::string& suffix) {
    if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    name.erase(name.size() - suffix.size());
    return true;
}

// Families to try for the Windows face names the library uses.
std::vector<Candidate> known_substitutes(const std::string& name, bool bold, bool italic) {
    auto list = [&](std::initializer_list<const char*> families, bool b, bool i) {
        std::vector<Candidate> out;
        for (const char* f : families) out.push_back({f, b, i});
        return out;
    };
    if (name == "arial" || name == "ms sans serif" || name == "helvetica")
        return list({"Liberation Sans", "Arimo", "DejaVu Sans"}, bold, italic);
    if (name == "times new roman" || name == "times" || name == "ms serif")
        return list({"Liberation Serif", "Tinos", "DejaVu Serif"}, bold, italic);
    if (name == "courier new" || name == "courier")
        return list({"Liberation Mono", "Cousine", "DejaVu Sans Mono"}, bold, italic);
    if (name == "console" || name == "fixedsys" || name == "terminal")
        return list({"DejaVu Sans Mono", "Liberation Mono"}, true, italic);
    if (name == "small fonts")
        return list({"Liberation Sans", "Arimo", "DejaVu Sans"}, bold, italic);
    if (name == "system")
        return list({"Liberation Sans", "Arimo", "DejaVu Sans"}, true, italic);
    if (name == "script") {
        auto out = list({"URW Chancery L", "Z003", "TeX Gyre Chorus"}, bold, italic);
        for (auto& c : list({"Liberation Serif", "DejaVu Serif"}, bold, true)) out.push_back(c);
        return out;
    }
    return {};
}

// Generic families by the pitch and family bits of the request.
std::vector<Candidate> generic_substitutes(int pitch_and_family, bool bold, bool italic) {
    int family = pitch_and_family & 0xF0;
    bool fixed = (pitch_and_family & 0x03) == 1;
    if (family == 0x40) {
        auto out = known_substitutes("script", bold, italic);
        out.push_back({"serif", bold, true, true});
        return out;
    }
    if (fixed || family == 0x30) return {{"monospace", bold, italic, true}};
    if (family == 0x10) return {{"serif", bold, italic, true}};
    return {{"sans-serif", bold, italic, true}};
}

bool has_family(FcPattern* match, const std::string& family) {
    FcChar8* value = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &value) == FcResultMatch; ++i)
        if (lower_trimmed(reinterpret_cast<const char*>(value)) == lower_trimmed(family)) return true;
    return false;
}

// Asks fontconfig for one candidate; false when it offers another family.
bool match_candidate(const Candidate& candidate, ResolvedFace& out) {
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

ResolvedFace resolve_uncached(const std::string& name, const std::string& key_name, bool bold, bool italic,
                              int pitch_and_family) {
    std::vector<Candidate> candidates = known_substitutes(key_name, bold, italic);
    if (candidates.empty() && !name.empty()) candidates.push_back({name, bold, italic});
    for (auto& c : generic_substitutes(pitch_and_family, bold, italic)) candidates.push_back(c);
    candidates.push_back({"sans-serif", bold, italic, true});
    ResolvedFace out;
    for (const Candidate& candidate : candidates)
        if (match_candidate(candidate, out)) return out;
    return out;
}

}  // namespace

ResolvedFace resolve_face(const FaceRequest& request) {
    static std::mutex mutex;
    static auto* cache = new std::map<std::string, ResolvedFace>;
    std::string name = request.face_name;
    name.erase(0, std::min(name.size(), name.find_first_not_of(' ')));
    name.erase(name.find_last_not_of(' ') + 1);
    bool bold = request.weight >= 600;
    bool italic = request.italic;
    std::string lower = lower_trimmed(name);
    if (strip_suffix(lower, " bold")) bold = true, name.erase(lower.size());
    if (strip_suffix(lower, " italic")) italic = true, name.erase(lower.size());
    std::string key = lower + '|' + char('0' + bold) + char('0' + italic) + std::to_string(request.pitch_and_family);

    std::lock_guard lock(mutex);
    if (auto found = cache->find(key); found != cache->end()) return found->second;
    if (!FcInit()) return {};
    ResolvedFace resolved = resolve_uncached(name, lower, bold, italic, request.pitch_and_family);
    cache->emplace(key, resolved);
    return resolved;
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

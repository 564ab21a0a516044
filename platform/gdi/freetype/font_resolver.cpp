#include "platform/gdi/freetype/font_resolver.h"

#include "platform/gdi/freetype/font_matcher.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>
#include <vector>

namespace klv::gdi {

namespace {

using Candidate = FontCandidate;

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

ResolvedFace resolve_uncached(const std::string& name, const std::string& key_name, bool bold, bool italic,
                              int pitch_and_family) {
    std::vector<Candidate> candidates = known_substitutes(key_name, bold, italic);
    if (candidates.empty() && !name.empty()) candidates.push_back({name, bold, italic});
    for (auto& c : generic_substitutes(pitch_and_family, bold, italic)) candidates.push_back(c);
    candidates.push_back({"sans-serif", bold, italic, true});
    ResolvedFace out;
    for (const Candidate& candidate : candidates)
        if (match_font(candidate, out)) return out;
    return out;
}

}  // namespace

std::vector<FontCandidate> families_asked_for() {
    static const char* const names[] = {"arial", "times new roman", "courier new", "console",
                                        "small fonts", "system", "script"};
    static const int pitches_and_families[] = {0, 0x01, 0x10, 0x30, 0x40};
    std::vector<FontCandidate> out;
    auto add = [&out](const FontCandidate& c) {
        for (const FontCandidate& o : out)
            if (o.family == c.family && o.bold == c.bold && o.italic == c.italic && o.generic == c.generic) return;
        out.push_back(c);
    };
    for (bool bold : {false, true})
        for (bool italic : {false, true}) {
            for (const char* name : names)
                for (const Candidate& c : known_substitutes(name, bold, italic)) add(c);
            for (int p : pitches_and_families)
                for (const Candidate& c : generic_substitutes(p, bold, italic)) add(c);
        }
    return out;
}

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
    ResolvedFace resolved = resolve_uncached(name, lower, bold, italic, request.pitch_and_family);
    cache->emplace(key, resolved);
    return resolved;
}

}  // namespace klv::gdi

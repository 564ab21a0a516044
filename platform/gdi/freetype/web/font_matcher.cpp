// Faces in a web page: the font files packed with the program in one
// folder (KLV_FONT_DIR, default /klv-fonts), and faces.txt there, the table
// of what fontconfig answered on the machine that packed them for each
// family and style the resolver asks for. One line a question, fields apart
// by tabs: family, bold (0/1), italic (0/1), generic (0/1), then the answer:
// the file's name in the folder, the face's index, the family chosen.
#include "platform/gdi/freetype/font_matcher.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

namespace klv::gdi {

namespace {

using Question = std::tuple<std::string, bool, bool, bool>;

std::string font_folder() {
    const char* folder = std::getenv("KLV_FONT_DIR");
    return folder && *folder ? folder : "/klv-fonts";
}

std::map<Question, ResolvedFace> read_table() {
    std::map<Question, ResolvedFace> table;
    const std::string folder = font_folder();
    std::ifstream in(folder + "/faces.txt");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string family, bold, italic, generic, file, index, chosen;
        if (!std::getline(fields, family, '\t') || !std::getline(fields, bold, '\t') ||
            !std::getline(fields, italic, '\t') || !std::getline(fields, generic, '\t') ||
            !std::getline(fields, file, '\t') || !std::getline(fields, index, '\t') || !std::getline(fields, chosen))
            continue;
        ResolvedFace face;
        face.file = folder + "/" + file;
        face.index = std::atoi(index.c_str());
        face.family = chosen;
        face.bold = bold == "1";
        face.italic = italic == "1";
        table[{family, bold == "1", italic == "1", generic == "1"}] = face;
    }
    return table;
}

}  // namespace

bool match_font(const FontCandidate& candidate, ResolvedFace& out) {
    static const std::map<Question, ResolvedFace> table = read_table();
    auto found = table.find({candidate.family, candidate.bold, candidate.italic, candidate.generic});
    if (found == table.end()) return false;
    out = found->second;
    return true;
}

}  // namespace klv::gdi

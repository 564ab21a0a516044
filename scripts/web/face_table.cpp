// Packs the fonts a web page draws with: for every family and style the
// face resolver asks for, what fontconfig answers on this machine, as the
// table faces.txt (read by the page's font matcher), and a copy of each
// answer's font file, in the folder given.
//   face_table FOLDER
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>

#include "platform/gdi/freetype/font_matcher.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: face_table FOLDER\n";
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path folder = argv[1];
    fs::create_directories(folder);
    std::ofstream table(folder / "faces.txt");
    std::map<std::string, std::string> copied;  // font file -> its name in the folder
    for (const klv::gdi::FontCandidate& c : klv::gdi::families_asked_for()) {
        klv::gdi::ResolvedFace face;
        if (!klv::gdi::match_font(c, face)) continue;
        auto& name = copied[face.file];
        if (name.empty()) {
            name = fs::path(face.file).filename().string();
            fs::copy_file(face.file, folder / name, fs::copy_options::overwrite_existing);
        }
        table << c.family << '\t' << c.bold << '\t' << c.italic << '\t' << c.generic << '\t' << name << '\t'
              << face.index << '\t' << face.family << '\n';
    }
    std::cout << copied.size() << " font files\n";
    return table ? 0 : 1;
}

#include "platform/gdi/freetype/font_file_cache.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <map>
#include <utility>

namespace klv::gdi {

namespace {

struct FaceTable {
    std::mutex mutex;  // also serialises FreeType's library object
    FT_Library library = nullptr;
    std::map<std::pair<std::string, int>, std::shared_ptr<SharedFace>> faces;
};

// Kept for the life of the process: windows may still draw while it exits.
FaceTable& face_table() {
    static auto* table = [] {
        auto* t = new FaceTable;
        if (FT_Init_FreeType(&t->library) != 0) t->library = nullptr;
        return t;
    }();
    return *table;
}

}  // namespace

SharedFace::~SharedFace() {
    std::lock_guard lock(face_table().mutex);
    FT_Done_Face(face_);
}

std::shared_ptr<SharedFace> open_shared_face(const std::string& file, int index) {
    FaceTable& table = face_table();
    std::lock_guard lock(table.mutex);
    if (!table.library || file.empty()) return nullptr;
    auto key = std::make_pair(file, index);
    if (auto found = table.faces.find(key); found != table.faces.end()) return found->second;
    FT_Face face = nullptr;
    if (FT_New_Face(table.library, file.c_str(), index, &face) != 0) return nullptr;
    auto shared = std::make_shared<SharedFace>(face, file);
    table.faces.emplace(key, shared);
    return shared;
}

}  // namespace klv::gdi

// Opened font files, shared by every font object of the process.
//
// FreeType faces are not safe to use from two threads at once: whoever
// sizes, loads or reads a face holds its mutex. A shared face is the glyph
// source of every font that resolves to it.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "platform/gdi/glyph_source.h"

// FreeType's face handle, declared as FreeType declares it, so that users
// of this header need not see FreeType's headers.
struct FT_FaceRec_;
typedef struct FT_FaceRec_* FT_Face;

namespace klv::gdi {

class SharedFace final : public GlyphSource {
public:
    SharedFace(FT_Face face, std::string file) : face_(face), file_(std::move(file)) {}
    SharedFace(const SharedFace&) = delete;
    SharedFace& operator=(const SharedFace&) = delete;
    ~SharedFace() override;

    Glyph render(unsigned char byte, const StrikeSpec& shape) override;
    GlyphBounds bounds(unsigned char byte, const StrikeSpec& shape) override;

    FT_Face face() const { return face_; }
    std::mutex& mutex() { return mutex_; }
    const std::string& file() const { return file_; }

private:
    FT_Face face_;
    std::string file_;
    std::mutex mutex_;
};

// The face at index `index` of `file`, opened once per process; null when
// the file cannot be read as a font.
std::shared_ptr<SharedFace> open_shared_face(const std::string& file, int index);

}  // namespace klv::gdi

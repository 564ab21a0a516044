// Face names to installed font files, through fontconfig.
//
// The face names the library asks for are Windows ones. Those with a
// metric-compatible family installed resolve to it (Liberation Sans for
// Arial and MS Sans Serif, Liberation Serif for Times New Roman, Liberation
// Mono for Courier New); the others to the nearest installed look-alike. A
// name nothing matches falls back by its pitch and family bits, and in the
// end to the default sans-serif face.
#pragma once

#include <string>

namespace klv::gdi {

struct FaceRequest {
    std::string face_name;
    int weight = 400;  // 0 (don't care) to 1000
    bool italic = false;
    int pitch_and_family = 0;
};

struct ResolvedFace {
    std::string file;    // empty when no font is installed at all
    int index = 0;       // face index within the file
    std::string family;  // the installed family chosen
    bool bold = false;    // the style the face is to be drawn in; where the
    bool italic = false;  // file lacks it, the font object simulates it
};

// Thread-safe; results are kept for the life of the process.
ResolvedFace resolve_face(const FaceRequest& request);

}  // namespace klv::gdi

// Drawing a picture file onto the active page: read whole first, then
// copied like a blit under the pages' lock, then shown.
#include <climits>

#include "graphics/draw/drawing_context.h"
#include "graphics/draw/primitives.h"
#include "graphics/errors/error_record.h"
#include "graphics/klv.h"
#include "graphics/picture/file_source.h"
#include "graphics/picture/picture.h"

namespace klv {

namespace {

// The runs of a picture that leaves pixels out, each a one-row image; the
// page keeps its pixels between them.
void draw_runs(gdi::DeviceContext* dc, const Picture& picture, int x, int y) {
    for (const PixelRun& run : picture.runs) {
        const std::int64_t left = std::int64_t(x) + run.x, top = std::int64_t(y) + run.y;
        if (left > INT_MAX || top > INT_MAX) continue;  // off the page
        gdi::draw_image_bits(dc, int(left), int(top), run.width, 1, &picture.run_pixels[run.first], gdi::SRCCOPY);
    }
}

// As paste_image copies: logical coordinates, the page's clipping.
void draw_picture(WindowState* state, const Picture& picture, int x, int y) {
    {
        PageLock lock(state);
        if (!lock.locked()) return;
        if (picture.bitmap) {
            gdi::draw_image_bits(lock.active_dc(), x, y, picture.width, picture.height, picture.bitmap->pixels(),
                                 gdi::SRCCOPY);
        } else {
            draw_runs(lock.active_dc(), picture, x, y);
        }
    }
    gdi::Rect area = covering_rect(x, y, std::int64_t(x) + picture.width - 1, std::int64_t(y) + picture.height - 1);
    refresh_window(&area);
}

int load_onto_page(WindowState* state, const char* file_name, int x, int y) {
    if (file_name == nullptr) return KLV_ERROR_BAD_ARGUMENT;
    FileSource file(file_name);
    if (!file.ok()) return KLV_ERROR_FILE_NOT_FOUND;
    Picture picture;
    if (int error = read_picture(file, &picture)) return error;
    draw_picture(state, picture, x, y);
    return KLV_OK;
}

}  // namespace

}  // namespace klv

extern "C" int load_image(const char* file_name, int x, int y) {
    klv::WindowState* state = klv::current_window_state(nullptr);
    const int code = klv::load_onto_page(state, file_name, x, y);
    if (code != KLV_OK) klv::record_error(code);
    return code;
}

// Drawing a picture file onto the active page: read whole first, then
// copied like a blit under the pages' lock, then shown.
#include "graphics/draw/drawing_context.h"
#include "graphics/draw/primitives.h"
#include "graphics/errors/error_record.h"
#include "graphics/klv.h"
#include "graphics/picture/file_source.h"
#include "graphics/picture/picture.h"

namespace klv {

namespace {

// As paste_image copies: logical coordinates, the page's clipping.
void draw_picture(WindowState* state, const gdi::Bitmap& picture, int x, int y) {
    const int width = picture.width(), height = picture.height();
    {
        PageLock lock(state);
        if (!lock.locked()) return;
        gdi::draw_image_bits(lock.active_dc(), x, y, width, height, picture.pixels(), gdi::SRCCOPY);
    }
    gdi::Rect area = covering_rect(x, y, std::int64_t(x) + width - 1, std::int64_t(y) + height - 1);
    refresh_window(&area);
}

int load_onto_page(WindowState* state, const char* file_name, int x, int y) {
    if (file_name == nullptr) return KLV_ERROR_BAD_ARGUMENT;
    FileSource file(file_name);
    if (!file.ok()) return KLV_ERROR_FILE_NOT_FOUND;
    BitmapPointer picture;
    if (int error = read_picture(file, &picture)) return error;
    draw_picture(state, *picture, x, y);
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

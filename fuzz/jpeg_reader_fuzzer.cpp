// The JPEG reader on any bytes: no crash, no read outside the bytes, no
// allocation beyond what the size limits allow, and a code of its own; a
// picture it reads has the size it says, turned or not.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "graphics/klv.h"
#include "graphics/picture/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    klv::MemorySource source({data, size});
    klv::Picture picture;
    const int code = klv::read_jpeg(source, &picture);
    if (code > 0 || code < KLV_ERROR_PICTURE_TOO_LARGE) std::abort();
    if (code == KLV_OK && (!picture.bitmap || picture.bitmap->width() != picture.width ||
                           picture.bitmap->height() != picture.height))
        std::abort();
    if (code != KLV_OK && picture.bitmap) std::abort();
    return 0;
}

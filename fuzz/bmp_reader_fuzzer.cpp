// The BMP reader on any bytes: no crash, no read outside the bytes, no
// allocation beyond what the size limits allow.
#include <cstddef>
#include <cstdint>

#include "graphics/picture/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    klv::MemorySource source({data, size});
    klv::Picture picture;
    klv::read_bmp(source, &picture);
    return 0;
}

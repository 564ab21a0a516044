// load_image end to end on any file: the bytes are written to a file and
// drawn onto a window's page (headless backend), as a program would load
// them. Whatever the bytes, the call returns a code of its own.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "graphics/klv.h"

namespace {

const std::string& input_file() {
    static const std::string name = [] {
        setenv("KLV_BACKEND", "headless", 1);
        if (open_window(64, 48, "fuzz", 0, 0, false, false) < 0) std::abort();
        const char* folder = std::getenv("TMPDIR");
        return std::string(folder && *folder ? folder : "/tmp") + "/klv-load-image-fuzz-" + std::to_string(getpid());
    }();
    return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& name = input_file();
    std::FILE* file = std::fopen(name.c_str(), "wb");
    if (file == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
    const int code = load_image(name.c_str(), (size % 7) - 3, (size % 5) - 2);
    if (code > 0 || code < KLV_ERROR_PICTURE_TOO_LARGE) std::abort();
    unlink(name.c_str());
    return 0;
}

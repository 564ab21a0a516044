// Files for the picture reader tests: sources ImageMagick reads, the
// pictures it makes of them, and the copies left as the fuzzers' seeds
// (fuzz-seeds/KIND/ of the build folder).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/bmp_image.h"

namespace klv::test {

using Bytes = std::vector<std::uint8_t>;

inline void write_bytes(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
}

// A binary PPM of 0x00RRGGBB pixels, rows top first.
inline void write_ppm(const std::string& path, const Image& image) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << image.width << " " << image.height << "\n255\n";
    for (std::uint32_t p : image.pixels) out.put(char(p >> 16)).put(char(p >> 8)).put(char(p));
}

inline bool have_imagemagick() { return std::system("convert -version >/dev/null 2>&1") == 0; }

// Runs `convert ARGUMENTS`; true when it succeeded.
inline bool convert(const std::string& arguments) {
    const std::string command = "convert " + arguments + " 2>&1";
    return std::system(command.c_str()) == 0;
}

// What ImageMagick reads from a picture file, as 8-bit RGB.
inline Image read_with_imagemagick(const std::string& file, const std::string& options = "") {
    const std::string ppm = file + ".read.ppm";
    Image image;
    if (!convert(file + " " + options + " -depth 8 PPM:" + ppm)) return image;
    std::ifstream in(ppm, std::ios::binary);
    std::string magic;
    int top = 0;
    in >> magic >> image.width >> image.height >> top;
    in.get();
    for (int i = 0; i < image.width * image.height; ++i) {
        unsigned char rgb[3] = {};
        in.read(reinterpret_cast<char*>(rgb), 3);
        image.pixels.push_back(std::uint32_t(rgb[0]) << 16 | std::uint32_t(rgb[1]) << 8 | rgb[2]);
    }
    if (!in) image = Image{};
    return image;
}

// A copy of the file among the seeds of the fuzzers that read `kind`.
inline void keep_as_seed(const std::string& path, const std::string& kind, const std::string& name) {
    std::filesystem::path seeds = std::filesystem::path(KLV_BINARY_DIR) / "fuzz-seeds" / kind;
    std::error_code ignored;
    std::filesystem::create_directories(seeds, ignored);
    std::filesystem::copy_file(path, seeds / name, std::filesystem::copy_options::overwrite_existing, ignored);
}

}  // namespace klv::test

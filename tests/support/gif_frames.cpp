#include "tests/support/gif_frames.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace klv::test {

namespace {

std::string output_of(const std::string& command) {
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return text;
    char buffer[1 << 16];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    pclose(pipe);
    return text;
}

std::string quoted(const std::string& path) { return "'" + path + "'"; }

}  // namespace

bool have_imagemagick() { return std::system("convert -version >/dev/null 2>&1 && identify -version >/dev/null 2>&1") == 0; }

GifFrames read_gif(const std::string& path) {
    GifFrames gif;
    std::ifstream file(path, std::ios::binary);
    const std::string head((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (head.size() < 10 || head.compare(0, 3, "GIF") != 0) return gif;
    const int width = std::uint8_t(head[6]) | std::uint8_t(head[7]) << 8;
    const int height = std::uint8_t(head[8]) | std::uint8_t(head[9]) << 8;
    std::istringstream delays(output_of("identify -format '%T\\n' " + quoted(path) + " 2>/dev/null"));
    for (int delay; delays >> delay;) gif.delays.push_back(delay);
    const std::string rgb = output_of("convert " + quoted(path) + " -coalesce -depth 8 rgb:- 2>/dev/null");
    const std::size_t frame_bytes = std::size_t(width) * std::size_t(height) * 3;
    if (frame_bytes == 0 || rgb.size() != frame_bytes * gif.delays.size()) return {};
    for (std::size_t at = 0; at < rgb.size(); at += frame_bytes) {
        Image image{width, height, {}};
        for (std::size_t i = at; i < at + frame_bytes; i += 3)
            image.pixels.push_back(std::uint32_t(std::uint8_t(rgb[i])) << 16 | std::uint32_t(std::uint8_t(rgb[i + 1])) << 8 |
                                   std::uint8_t(rgb[i + 2]));
        gif.frames.push_back(std::move(image));
    }
    return gif;
}

}  // namespace klv::test

// Reading an animated GIF back the way viewers show it, through ImageMagick:
// every frame whole (each drawn over the ones before), and its delay.
#pragma once

#include <string>
#include <vector>

#include "tests/support/bmp_image.h"

namespace klv::test {

struct GifFrames {
    std::vector<Image> frames;  // whole pictures, as shown
    std::vector<int> delays;    // hundredths of a second, `identify -format '%T'`
};

// Empty when ImageMagick cannot read the file.
GifFrames read_gif(const std::string& path);

// Whether ImageMagick's convert and identify can be run.
bool have_imagemagick();

}  // namespace klv::test

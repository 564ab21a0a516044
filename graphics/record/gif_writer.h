// An animated GIF written frame by frame through giflib: each frame is the
// part of the picture that changed since the frame before (the rest shows
// through, marked transparent), with its own palette and its delay.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/record/colour_reduction.h"
#include "platform/files/replacing_file.h"

struct GifFileType;

namespace klv {

class GifWriter {
public:
    GifWriter() = default;
    ~GifWriter();
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;

    // Starts the file (beside file_name until close) for width by height
    // frames, shown in a loop; false when it cannot be written.
    bool open(const char* file_name, int width, int height);
    // A frame of width * height pixels (rows top first) that stays delay
    // hundredths of a second (longer than a GIF delay holds: split in
    // frames that change nothing); previous is the frame before it, or null
    // for the first. False once a write failed.
    bool put_frame(const gdi::Pixel* frame, const gdi::Pixel* previous, std::int64_t delay);
    // Ends the file and puts it in place of file_name; false (and file_name
    // as it was) when any part could not be written.
    bool close();

    // Left, top, right, bottom exclusive.
    struct Area {
        int left, top, right, bottom;
    };

private:
    void gather(const gdi::Pixel* frame, const gdi::Pixel* previous, const Area& area);
    int colour_area(const gdi::Pixel* frame, const gdi::Pixel* previous, const Area& area);
    static int write_bytes(GifFileType* gif, const std::uint8_t* bytes, int count);
    bool put_control(int delay, int transparent);
    bool put_image(int left, int top, int width, int height, const PalettedPixels& image);
    bool put_pause(int delay);
    bool flush();

    GifFileType* gif_ = nullptr;
    files::ReplacingFile file_;
    std::vector<std::uint8_t> buffer_;
    bool failed_ = false;
    int width_ = 0;
    int height_ = 0;
    PalettedPixels image_;
    std::vector<gdi::Pixel> changed_;
};

}  // namespace klv

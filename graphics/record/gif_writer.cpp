#include "graphics/record/gif_writer.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace klv {

namespace {

constexpr int longest_delay = 65535;  // hundredths of a second, 16 bits
constexpr std::size_t buffer_size = 1 << 16;

using Area = GifWriter::Area;

// The part of frame that differs from previous (the whole frame without one);
// empty when nothing does.
Area changed_area(const gdi::Pixel* frame, const gdi::Pixel* previous, int width, int height) {
    if (previous == nullptr) return {0, 0, width, height};
    Area area{width, height, 0, 0};
    for (int y = 0; y < height; ++y) {
        const gdi::Pixel* a = frame + std::size_t(y) * std::size_t(width);
        const gdi::Pixel* b = previous + std::size_t(y) * std::size_t(width);
        if (std::memcmp(a, b, std::size_t(width) * sizeof(gdi::Pixel)) == 0) continue;
        int left = 0, right = width;
        while (a[left] == b[left]) ++left;
        while (a[right - 1] == b[right - 1]) --right;
        area = {std::min(area.left, left), std::min(area.top, y), std::max(area.right, right), y + 1};
    }
    return area;
}

int power_of_two_at_least(std::size_t count) {
    int size = 2;
    while (std::size_t(size) < count) size *= 2;
    return size;
}

}  // namespace

GifWriter::~GifWriter() {
    if (gif_ != nullptr) EGifCloseFile(gif_, nullptr);
}

int GifWriter::write_bytes(GifFileType* gif, const std::uint8_t* bytes, int count) {
    auto* self = static_cast<GifWriter*>(gif->UserData);
    self->buffer_.insert(self->buffer_.end(), bytes, bytes + count);
    if (self->buffer_.size() >= buffer_size && !self->flush()) return 0;
    return count;
}

bool GifWriter::flush() {
    failed_ = failed_ || !file_.write(buffer_);
    buffer_.clear();
    return !failed_;
}

bool GifWriter::open(const char* file_name, int width, int height) {
    if (!file_.open(file_name)) return false;
    width_ = width, height_ = height;
    int error = 0;
    gif_ = EGifOpen(this, write_bytes, &error);
    if (gif_ == nullptr) return false;
    EGifSetGifVersion(gif_, true);
    // Shown in a loop: the application extension browsers read for it.
    static const std::uint8_t loop_name[] = "NETSCAPE2.0";
    static const std::uint8_t loop_forever[] = {1, 0, 0};
    return EGifPutScreenDesc(gif_, width, height, 8, 0, nullptr) == GIF_OK &&
           EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(gif_, 11, loop_name) == GIF_OK &&
           EGifPutExtensionBlock(gif_, 3, loop_forever) == GIF_OK && EGifPutExtensionTrailer(gif_) == GIF_OK;
}

bool GifWriter::put_control(int delay, int transparent) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = delay;
    control.TransparentColor = transparent;
    GifByteType bytes[4];
    const std::size_t length = EGifGCBToExtension(&control, bytes);
    return EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, int(length), bytes) == GIF_OK;
}

bool GifWriter::put_image(int left, int top, int width, int height, const PalettedPixels& image) {
    const int size = power_of_two_at_least(image.colours.size());
    std::vector<GifColorType> colours(std::size_t(size), GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < image.colours.size(); ++i) {
        const gdi::Pixel p = image.colours[i];
        colours[i] = {GifByteType(p >> 16), GifByteType(p >> 8), GifByteType(p)};
    }
    ColorMapObject* map = GifMakeMapObject(size, colours.data());
    if (map == nullptr) return false;
    bool ok = EGifPutImageDesc(gif_, left, top, width, height, false, map) == GIF_OK;
    GifFreeMapObject(map);
    auto* row = const_cast<GifPixelType*>(image.indices.data());
    for (int y = 0; ok && y < height; ++y, row += width) ok = EGifPutLine(gif_, row, width) == GIF_OK;
    return ok;
}

// A pixel that changes nothing (transparent), staying delay.
bool GifWriter::put_pause(int delay) {
    PalettedPixels nothing{{0}, {0}};
    return put_control(delay, 0) && put_image(0, 0, 1, 1, nothing);
}

// The pixels of area that differ from previous (all of them without one).
void GifWriter::gather(const gdi::Pixel* frame, const gdi::Pixel* previous, const Area& area) {
    changed_.clear();
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const std::size_t at = std::size_t(y) * std::size_t(width_) + std::size_t(x);
            if (previous == nullptr || frame[at] != previous[at]) changed_.push_back(frame[at]);
        }
}

// The area as image_: the changed pixels coloured, the others the index
// after the palette, which is marked transparent. When the changed pixels
// have 256 colours and the whole area no more, every pixel is coloured
// instead, so that no colour is reduced. Answers the transparent index, or
// NO_TRANSPARENT_COLOR.
int GifWriter::colour_area(const gdi::Pixel* frame, const gdi::Pixel* previous, const Area& area) {
    gather(frame, previous, area);
    const bool exact = reduce_colours(changed_.data(), changed_.size(), previous != nullptr ? 255 : 256, &image_);
    if (previous == nullptr) return NO_TRANSPARENT_COLOR;
    if (!exact) {
        gather(frame, nullptr, area);
        if (reduce_colours(changed_.data(), changed_.size(), 256, &image_)) return NO_TRANSPARENT_COLOR;
        gather(frame, previous, area);
        reduce_colours(changed_.data(), changed_.size(), 255, &image_);
    }
    const int transparent = int(image_.colours.size());
    std::vector<std::uint8_t> indices(std::size_t(area.right - area.left) * std::size_t(area.bottom - area.top),
                                      std::uint8_t(transparent));
    std::size_t next = 0, i = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x, ++i) {
            const std::size_t at = std::size_t(y) * std::size_t(width_) + std::size_t(x);
            if (frame[at] != previous[at]) indices[i] = image_.indices[next++];
        }
    image_.indices = std::move(indices);
    image_.colours.push_back(0);
    return transparent;
}

bool GifWriter::put_frame(const gdi::Pixel* frame, const gdi::Pixel* previous, std::int64_t delay) {
    if (gif_ == nullptr || failed_) return false;
    Area area = changed_area(frame, previous, width_, height_);
    if (area.left >= area.right) area = {0, 0, 1, 1};  // a frame like the one before: one unchanged pixel
    const int transparent = colour_area(frame, previous, area);
    const int first = int(std::min<std::int64_t>(std::max<std::int64_t>(delay, 1), longest_delay));
    bool ok = put_control(first, transparent) &&
              put_image(area.left, area.top, area.right - area.left, area.bottom - area.top, image_);
    for (std::int64_t rest = delay - first; ok && rest > 0; rest -= longest_delay)
        ok = put_pause(int(std::min<std::int64_t>(rest, longest_delay)));
    failed_ = failed_ || !ok;
    return !failed_;
}

bool GifWriter::close() {
    if (gif_ == nullptr) return false;
    const bool closed = EGifCloseFile(std::exchange(gif_, nullptr), nullptr) == GIF_OK;
    return closed && flush() && file_.commit() && !failed_;
}

}  // namespace klv

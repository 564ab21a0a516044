// Run-length encoded BMP pixels. Each code is two bytes: a count above 0
// repeats one colour index (BI_RLE4: two indices taking turns); a count of 0
// is an escape: 0 ends the line, 1 ends the bitmap, 2 moves the position by
// the next two bytes (right, then up), and 3 to 255 is that many indices
// given one by one, padded to 16 bits. Rows go from the bottom up.
//
// Some writers (ImageMagick among them) code each row to the length an
// uncompressed row has, padded to 32 bits: pixels in that padding are
// dropped as an uncompressed file's are; codes past it are damage.
#include "graphics/picture/bmp_rle.h"

#include <algorithm>
#include <vector>

#include "graphics/klv.h"

namespace klv {

namespace {

// The codes' bytes, read from the source a bounded chunk at a time.
class CodeStream {
public:
    CodeStream(ByteSource& source, std::uint64_t offset) : source_(source), position_(offset) {}

    // False at the end of the file.
    bool next(std::uint8_t* byte) {
        if (at_ == chunk_.size() && !refill()) return false;
        *byte = chunk_[at_++];
        return true;
    }

private:
    bool refill() {
        if (position_ >= source_.size()) return false;
        const std::size_t count = std::size_t(std::min<std::uint64_t>(source_.size() - position_, 1 << 16));
        chunk_.resize(count);
        if (!source_.read(position_, chunk_.data(), count)) return false;
        position_ += count;
        at_ = 0;
        return true;
    }

    ByteSource& source_;
    std::uint64_t position_;
    std::vector<std::uint8_t> chunk_;
    std::size_t at_ = 0;
};

// Places pixels in the picture's runs, a run growing while its pixels
// follow each other along the row.
class RunWriter {
public:
    explicit RunWriter(Picture& picture) : picture_(picture) {}

    // x from the left, row from the bottom, both inside the picture.
    void put(std::int64_t x, std::int64_t row, gdi::Pixel pixel) {
        const int y = int(picture_.height - 1 - row);
        auto& runs = picture_.runs;
        if (runs.empty() || runs.back().y != y || runs.back().x + runs.back().width != x)
            runs.push_back({int(x), y, 0, picture_.run_pixels.size()});
        ++runs.back().width;
        picture_.run_pixels.push_back(pixel);
    }

private:
    Picture& picture_;
};

class Decoder {
public:
    Decoder(ByteSource& source, const RleLayout& layout, const std::array<gdi::Pixel, 256>& palette, Picture& picture)
        : codes_(source, layout.offset),
          layout_(layout),
          row_end_((std::int64_t(layout.width) * layout.bits + 31) / 32 * 32 / layout.bits),
          palette_(palette),
          out_(picture) {}

    int run() {
        std::uint8_t count, value;
        while (codes_.next(&count)) {
            if (!codes_.next(&value)) return KLV_ERROR_DAMAGED_PICTURE;
            bool ok = true;
            if (count > 0) {
                ok = repeat(count, value);
            } else if (value == 0) {  // end of line
                x_ = 0;
                ok = ++y_ <= layout_.height;
            } else if (value == 1) {  // end of bitmap
                return KLV_OK;
            } else if (value == 2) {
                ok = move();
            } else {
                ok = literal(value);
            }
            if (!ok) return KLV_ERROR_DAMAGED_PICTURE;
        }
        return y_ >= layout_.height ? KLV_OK : KLV_ERROR_DAMAGED_PICTURE;
    }

private:
    // Room for `count` pixels from the position on, in the row.
    bool room_for(int count) const { return y_ < layout_.height && count <= row_end_ - x_; }

    void put(int index) {
        if (x_ < layout_.width) out_.put(x_, y_, palette_[std::size_t(index)]);
        ++x_;
    }

    bool repeat(int count, std::uint8_t value) {
        if (!room_for(count)) return false;
        for (int i = 0; i < count; ++i) put(layout_.bits == 8 ? value : i % 2 ? value & 15 : value >> 4);
        return true;
    }

    bool move() {
        std::uint8_t right, up;
        if (!codes_.next(&right) || !codes_.next(&up)) return false;
        x_ += right;
        y_ += up;
        return x_ <= row_end_ && y_ <= layout_.height;
    }

    bool literal(int count) {
        if (!room_for(count)) return false;
        const int bytes = layout_.bits == 8 ? count : (count + 1) / 2;
        std::uint8_t byte;
        for (int i = 0; i < bytes; ++i) {
            if (!codes_.next(&byte)) return false;
            if (layout_.bits == 8) {
                put(byte);
            } else {
                put(byte >> 4);
                if (2 * i + 1 < count) put(byte & 15);
            }
        }
        return bytes % 2 == 0 || codes_.next(&byte);
    }

    CodeStream codes_;
    const RleLayout& layout_;
    const std::int64_t row_end_;  // the row's length with its padding
    const std::array<gdi::Pixel, 256>& palette_;
    RunWriter out_;
    std::int64_t x_ = 0;
    std::int64_t y_ = 0;  // rows from the bottom
};

}  // namespace

int read_rle_codes(ByteSource& source, const RleLayout& layout, const std::array<gdi::Pixel, 256>& palette,
                   Picture* picture) {
    picture->width = layout.width;
    picture->height = layout.height;
    return Decoder(source, layout, palette, *picture).run();
}

}  // namespace klv

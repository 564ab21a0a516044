// Recording what a window shows as an animated GIF. The window thread hands
// over each new picture it paints with one copy of the page (under the page
// lock, which it holds to paint anyway); an encoding thread of the
// recording's own compares, reduces and writes the frames, so the program
// drawing never waits for the encoder.
//
// Pictures shown less than two hundredths of a second after the current
// frame began wait: the encoder asks the window to show the page again once
// a frame may begin, and the picture then shown is the frame. When the
// encoder falls behind by more frames than 64 MiB hold, new pictures wait
// the same way; the frame shown meanwhile stays longer. A recording given a
// length ends by itself once it has lasted that long.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "graphics/record/frame_timeline.h"
#include "graphics/record/gif_writer.h"
#include "platform/gdi/objects.h"

namespace klv {

class Recording {
public:
    using Clock = FrameTimeline::Clock;

    // Starts recording pages of page's size into file_name, page (as it is
    // now) being the first frame; a length above zero ends it after that
    // long. show_again asks the window, from the encoding thread, to paint
    // its page again. Null, and *error set (KLV_ERROR_CANNOT_WRITE_FILE,
    // KLV_ERROR_OUT_OF_MEMORY), when the recording cannot start.
    static std::shared_ptr<Recording> start(const char* file_name, const gdi::Bitmap& page,
                                            std::function<void()> show_again, Clock::duration length,
                                            int* error);
    ~Recording();
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;

    // From the paint, with the page lock held: the window now shows page;
    // changed tells whether it is a new picture (not only a repaint).
    void picture_shown(const gdi::Bitmap& page, bool changed, Clock::time_point now = Clock::now());
    // Ends the recording: the last frame stays until now. Waits for the file
    // to be written; 0, or KLV_ERROR_CANNOT_WRITE_FILE when it could not be
    // (the file of that name is then as it was). Later calls answer the
    // same, and pictures shown afterwards are not recorded.
    int finish(Clock::time_point now = Clock::now());

private:
    struct Frame {
        std::vector<gdi::Pixel> pixels;
        std::int64_t delay = 0;
    };
    Recording(const gdi::Bitmap& page, std::function<void()> show_again, Clock::time_point now,
              Clock::duration length);
    void take_frame(const gdi::Bitmap& page, Clock::time_point now);
    void end_frames(Clock::time_point now);
    bool wait_for_work(std::unique_lock<std::mutex>& lock);
    std::vector<gdi::Pixel> spare_buffer();
    void encode();
    void write(Frame& frame);

    std::mutex mutex_;
    std::condition_variable wake_;
    FrameTimeline timeline_;
    const Clock::time_point end_;  // when the recording ends by itself (time_point::max(): never)
    const std::size_t frame_pixels_;
    const std::size_t most_queued_;
    std::function<void()> show_again_;
    // Under the mutex.
    std::vector<gdi::Pixel> current_;  // the frame shown now, its delay unknown yet
    std::deque<Frame> queue_;          // frames waiting for the encoder
    std::vector<std::vector<gdi::Pixel>> spares_;
    bool waiting_picture_ = false;     // a picture was shown that no frame holds yet
    bool asked_again_ = false;         // the encoder asked the window to show it
    bool finishing_ = false;
    int result_ = 0;
    // The encoder's own: the frame held back (a next one like it only
    // lengthens it) and the last one written.
    GifWriter writer_;
    Frame held_;
    std::vector<gdi::Pixel> written_;
    bool has_held_ = false;
    bool has_written_ = false;
    std::thread encoder_;
    std::mutex join_mutex_;  // one finisher joins the encoder, others wait for it
};

}  // namespace klv

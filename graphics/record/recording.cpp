#include "graphics/record/recording.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <system_error>
#include <utility>

#include "graphics/klv.h"

namespace klv {

namespace {

constexpr std::size_t queue_bytes = std::size_t(64) << 20;

}  // namespace

Recording::Recording(const gdi::Bitmap& page, std::function<void()> show_again, Clock::time_point now,
                     Clock::duration length)
    : timeline_(now),
      end_(length > Clock::duration::zero() ? now + length : Clock::time_point::max()),
      frame_pixels_(std::size_t(page.width()) * std::size_t(page.height())),
      most_queued_(std::max<std::size_t>(2, queue_bytes / (frame_pixels_ * sizeof(gdi::Pixel)))),
      show_again_(std::move(show_again)),
      current_(page.pixels(), page.pixels() + frame_pixels_) {}

std::shared_ptr<Recording> Recording::start(const char* file_name, const gdi::Bitmap& page,
                                            std::function<void()> show_again, Clock::duration length, int* error) {
    std::shared_ptr<Recording> recording;
    try {
        recording.reset(new Recording(page, std::move(show_again), Clock::now(), length));
        if (!recording->writer_.open(file_name, page.width(), page.height())) {
            *error = KLV_ERROR_CANNOT_WRITE_FILE;
            return nullptr;
        }
        recording->encoder_ = std::thread([raw = recording.get()] { raw->encode(); });
    } catch (const std::bad_alloc&) {
        *error = KLV_ERROR_OUT_OF_MEMORY;
        return nullptr;
    } catch (const std::system_error&) {
        *error = KLV_ERROR_OUT_OF_MEMORY;
        return nullptr;
    }
    *error = KLV_OK;
    return recording;
}

Recording::~Recording() { finish(); }

std::vector<gdi::Pixel> Recording::spare_buffer() {
    if (spares_.empty()) return std::vector<gdi::Pixel>(frame_pixels_);
    std::vector<gdi::Pixel> buffer = std::move(spares_.back());
    spares_.pop_back();
    return buffer;
}

void Recording::take_frame(const gdi::Bitmap& page, Clock::time_point now) {
    std::vector<gdi::Pixel> next = spare_buffer();
    std::memcpy(next.data(), page.pixels(), frame_pixels_ * sizeof(gdi::Pixel));
    queue_.push_back({std::exchange(current_, std::move(next)), timeline_.begin_frame(now)});
    waiting_picture_ = asked_again_ = false;
    wake_.notify_all();
}

void Recording::picture_shown(const gdi::Bitmap& page, bool changed, Clock::time_point now) {
    std::lock_guard lock(mutex_);
    if (finishing_ || now >= end_ || (!changed && !waiting_picture_)) return;
    try {
        if (timeline_.may_begin_frame(now) && queue_.size() < most_queued_) return take_frame(page, now);
    } catch (const std::bad_alloc&) {
        // No memory for the frame: the picture waits like one shown too soon.
    }
    if (!waiting_picture_) {
        waiting_picture_ = true;
        wake_.notify_all();
    }
}

// Under the mutex: the frame shown now is the last, staying until now.
void Recording::end_frames(Clock::time_point now) {
    if (finishing_) return;
    finishing_ = true;
    queue_.push_back({std::move(current_), timeline_.frame_length(now)});
    wake_.notify_all();
}

int Recording::finish(Clock::time_point now) {
    {
        std::lock_guard lock(mutex_);
        end_frames(std::min(now, end_));
    }
    {
        std::lock_guard join(join_mutex_);
        if (encoder_.joinable()) encoder_.join();
    }
    std::lock_guard lock(mutex_);
    return result_;
}

// With the lock: false once every frame is written; true with a frame in the
// queue. Meanwhile asks the window to show a waiting picture again once a
// frame may begin, and ends the recording at its length.
bool Recording::wait_for_work(std::unique_lock<std::mutex>& lock) {
    for (;;) {
        if (!queue_.empty()) return true;
        if (finishing_) return false;
        const Clock::time_point now = Clock::now();
        if (now >= end_) {
            end_frames(end_);
            continue;
        }
        Clock::time_point wake_at = end_;
        if (waiting_picture_ && !asked_again_) {
            if (now >= timeline_.next_frame_time()) {
                asked_again_ = true;
                lock.unlock();
                show_again_();
                lock.lock();
                continue;
            }
            wake_at = std::min(wake_at, timeline_.next_frame_time());
        }
        if (wake_at == Clock::time_point::max())
            wake_.wait(lock);
        else
            wake_.wait_until(lock, wake_at);
    }
}

void Recording::encode() {
    std::unique_lock lock(mutex_);
    while (wait_for_work(lock)) {
        Frame frame = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        write(frame);
        lock.lock();
        if (!frame.pixels.empty()) spares_.push_back(std::move(frame.pixels));
    }
    lock.unlock();
    bool written = !has_held_ || writer_.put_frame(held_.pixels.data(), has_written_ ? written_.data() : nullptr,
                                                   held_.delay);
    written = writer_.close() && written;
    lock.lock();
    result_ = written ? KLV_OK : KLV_ERROR_CANNOT_WRITE_FILE;
}

// A frame like the one held back lengthens it; another one writes the held
// frame and is held back in its place. frame keeps a buffer to reuse.
void Recording::write(Frame& frame) {
    if (has_held_ && frame.pixels == held_.pixels) {
        held_.delay += frame.delay;
        return;
    }
    if (has_held_) {
        writer_.put_frame(held_.pixels.data(), has_written_ ? written_.data() : nullptr, held_.delay);
        std::swap(written_, held_.pixels);
        has_written_ = true;
    }
    std::swap(held_.pixels, frame.pixels);
    held_.delay = frame.delay;
    has_held_ = true;
}

}  // namespace klv

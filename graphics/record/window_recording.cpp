#include "graphics/record/window_recording.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <utility>
#include <vector>

#include "graphics/draw/drawing_context.h"
#include "graphics/errors/error_record.h"
#include "graphics/record/recording.h"

namespace klv {

namespace {

constexpr long longest_environment_length = 24L * 3600;

// Every recording not yet finished, so that the end of the program finishes
// them. Never destroyed: the end of the program reads it.
struct Recordings {
    std::mutex mutex;
    std::vector<std::shared_ptr<Recording>> list;
};

Recordings& recordings() {
    static Recordings* all = new Recordings;
    return *all;
}

void finish_all_recordings() {
    std::vector<std::shared_ptr<Recording>> list;
    {
        std::lock_guard lock(recordings().mutex);
        list.swap(recordings().list);
    }
    for (const auto& recording : list) recording->finish();
}

void keep(const std::shared_ptr<Recording>& recording) {
    static std::once_flag at_exit;
    std::call_once(at_exit, [] { std::atexit(finish_all_recordings); });
    std::lock_guard lock(recordings().mutex);
    recordings().list.push_back(recording);
}

int finish(std::shared_ptr<Recording> recording) {
    if (recording == nullptr) return KLV_OK;
    {
        std::lock_guard lock(recordings().mutex);
        std::erase(recordings().list, recording);
    }
    return recording->finish();
}

const gdi::Bitmap& visual_bitmap(const WindowState* state) {
    return *state->page_dc[std::size_t(state->visual_page)]->bitmap;
}

int start(WindowState* state, const char* file_name, FrameTimeline::Clock::duration length) {
    PageLock lock(state);
    if (!lock.locked()) return KLV_ERROR_CANNOT_WRITE_FILE;  // the pages stay held elsewhere: nothing to record
    if (state->recording != nullptr) return KLV_ERROR_ALREADY_RECORDING;
    ui::Window* window = state->hwnd;
    int error = KLV_OK;
    state->recording = Recording::start(
        file_name, visual_bitmap(state), [window] { ui::invalidate_rect(window, nullptr, false); }, length, &error);
    if (state->recording != nullptr) keep(state->recording);
    return error;
}

int stop(WindowState* state) {
    std::shared_ptr<Recording> recording;
    {
        PageLock lock(state);
        if (lock.locked()) recording = std::move(state->recording);
    }
    return finish(std::move(recording));
}

}  // namespace

void record_painted_page(WindowState* state, bool unshown_painted) {
    const bool changed = std::exchange(state->picture_changed, false) || unshown_painted;
    if (state->recording != nullptr) state->recording->picture_shown(visual_bitmap(state), changed);
}

void finish_window_recording(WindowState* state) {
    std::shared_ptr<Recording> recording;
    if (state->mutex.try_lock_for(page_lock_wait())) {
        recording = std::move(state->recording);
        state->mutex.unlock();
    }
    finish(std::move(recording));
}

void record_from_environment() {
    static std::atomic<bool> done{false};
    const char* name = std::getenv("KLV_RECORD");
    if (name == nullptr || *name == '\0' || done.exchange(true)) return;
    const char* seconds = std::getenv("KLV_RECORD_SECONDS");
    char* end = nullptr;
    const long length = seconds != nullptr ? std::strtol(seconds, &end, 10) : 0;
    const bool whole = seconds != nullptr && end != seconds && *end == '\0' && length > 0 &&
                       length <= longest_environment_length;
    const int error = start(current_window_state(nullptr), name,
                            whole ? std::chrono::seconds(length) : FrameTimeline::Clock::duration::zero());
    if (error != KLV_OK) std::fprintf(stderr, "KLV_RECORD=%s: %s\n", name, error_text(error));
}

}  // namespace klv

using namespace klv;

extern "C" int record_frames(const char* file_name) {
    WindowState* state = current_window_state(nullptr);
    const int code = file_name != nullptr ? start(state, file_name, FrameTimeline::Clock::duration::zero()) : stop(state);
    if (code != KLV_OK) record_error(code);
    return code;
}

// Each example program run on the headless backend draws the picture the
// README shows: the program saves it, and it must equal the one in docs/.
// The README's animations are the examples recorded with KLV_RECORD; a
// recording whose pictures docs/ does not have replaces the one there (and
// the test fails, so that the new one is looked at and committed).
#include <gtest/gtest.h>

#include <cairo.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <thread>

#include "tests/support/bmp_image.h"
#include "tests/support/gif_frames.h"
#include "tests/support/test_needs.h"

namespace klv::test {
namespace {

namespace fs = std::filesystem;

Image read_png(const fs::path& path) {
    Image image;
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        image.width = cairo_image_surface_get_width(surface);
        image.height = cairo_image_surface_get_height(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                image.pixels.push_back(reinterpret_cast<const std::uint32_t*>(data + y * stride)[x] & 0xFFFFFFu);
    }
    cairo_surface_destroy(surface);
    return image;
}

fs::path folder_for(const std::string& example) {
    const fs::path folder = fs::temp_directory_path() / ("klv-example-" + example + "-" + std::to_string(getpid()));
    fs::create_directories(folder);
    return folder;
}

// Runs the example in folder until it has written the file named `until`
// (the library replaces files in one step), then ends it. recording: the
// seconds of KLV_RECORD's recording into `until`, or 0 for none.
void run_until(const std::string& example, const fs::path& folder, const fs::path& until, int recording) {
    const fs::path program = fs::path(KLV_BINARY_DIR) / example;
    const pid_t child = fork();
    if (child == 0) {
        const std::string seconds = std::to_string(recording);
        const bool recorded = recording == 0 || (setenv("KLV_RECORD", until.c_str(), 1) == 0 &&
                                                 setenv("KLV_RECORD_SECONDS", seconds.c_str(), 1) == 0);
        if (recorded && chdir(folder.c_str()) == 0 && setenv("KLV_BACKEND", "headless", 1) == 0 &&
            freopen("/dev/null", "w", stdout) != nullptr)
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!fs::exists(until) && std::chrono::steady_clock::now() < deadline && waitpid(child, nullptr, WNOHANG) == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // pacing the poll, under a deadline
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

Image picture_of(const std::string& example) {
    const fs::path folder = folder_for(example);
    const fs::path picture = folder / (example + ".bmp");
    run_until(example, folder, picture, 0);
    Image image = fs::exists(picture) ? read_bmp(picture.string()) : Image{};
    fs::remove_all(folder);
    return image;
}

std::size_t hash_of(const Image& image) {
    return std::hash<std::string_view>{}(std::string_view(reinterpret_cast<const char*>(image.pixels.data()),
                                                          image.pixels.size() * sizeof(std::uint32_t)));
}

// The share of the recording's time during which it shows a picture that
// the other recording has too.
double time_shown_by_both(const GifFrames& recording, const GifFrames& other) {
    std::set<std::size_t> pictures;
    for (const Image& frame : other.frames) pictures.insert(hash_of(frame));
    double both = 0, all = 0;
    for (std::size_t i = 0; i < recording.frames.size(); ++i) {
        all += recording.delays[i];
        if (pictures.count(hash_of(recording.frames[i])) != 0) both += recording.delays[i];
    }
    return all > 0 ? both / all : 0;
}

TEST(Examples, EachDrawsThePictureItsPageShows) {
    for (const std::string example : {"bouncing_ball", "xor_sprite", "justified_chart", "clock_face", "stained_glass"}) {
        const Image actual = picture_of(example);
        ASSERT_GT(actual.width, 0) << example << " saved no picture";
        const Image expected = read_png(fs::path(KLV_SOURCE_DIR) / "docs" / (example + ".png"));
        EXPECT_EQ(count_differences(actual, expected), 0) << example;
    }
}

// Pictures a run shows that the README's recording lacks make it out of
// date. A run records the pictures the window painted: a busy machine
// paints a fifth of the ball's pictures too late to be frames of their own,
// and not the same ones in each run, so half of the run's time is asked
// for; a program that draws something else shares no picture.
TEST(Examples, TheReadmesRecordingsShowWhatTheProgramsShow) {
    KLV_NEED(have_imagemagick(), "ImageMagick (convert, identify)");
    const bool rewrite = std::getenv("KLV_WRITE_DOCS") != nullptr;
    for (const auto& [example, seconds] : {std::pair<std::string, int>{"bouncing_ball", 3}, {"clock_face", 6}}) {
        const fs::path folder = folder_for(example);
        const fs::path recorded = folder / (example + ".gif");
        run_until(example, folder, recorded, seconds);
        const GifFrames fresh = read_gif(recorded.string());
        ASSERT_GE(fresh.frames.size(), std::size_t(seconds)) << example << " recorded too few frames";
        const fs::path kept = fs::path(KLV_SOURCE_DIR) / "docs" / (example + ".gif");
        const double share = time_shown_by_both(fresh, read_gif(kept.string()));
        if (share < 0.5 || rewrite) fs::copy_file(recorded, kept, fs::copy_options::overwrite_existing);
        if (!rewrite) {
            EXPECT_GE(share, 0.5) << kept << " was out of date: rewritten from this run, look at it and commit it";
        }
        fs::remove_all(folder);
    }
}

}  // namespace
}  // namespace klv::test

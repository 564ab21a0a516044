// record_frames on the headless backend, read back with ImageMagick: frames,
// delays and colours as the window showed them, and the errors.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>

#include "graphics/klv.h"
#include "tests/graphics/export/temp_folder.h"
#include "tests/support/gif_frames.h"
#include "tests/support/library_window.h"
#include "tests/support/test_needs.h"

namespace klv::test {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int width = 40, height = 30;

int hundredths_between(Clock::time_point a, Clock::time_point b) {
    return int(std::chrono::duration_cast<std::chrono::milliseconds>(b - a).count() + 5) / 10;
}

// When a step that the window shows was made: from its call to the window
// thread's having painted it. A frame begins within that span.
struct Span {
    Clock::time_point from, to;
};
template <class Step>
Span timed(Step step) {
    const Clock::time_point from = Clock::now();
    step();
    wait_idle();
    return {from, Clock::now()};
}

// A frame that began within `begun` and ended within `ended` has a delay
// between the shortest and the longest time those allow (a hundredth more
// either way for the rounding).
void expect_delay(int delay, const Span& begun, const Span& ended) {
    EXPECT_GE(delay, hundredths_between(begun.to, ended.from) - 1);
    EXPECT_LE(delay, hundredths_between(begun.from, ended.to) + 1);
}

class Recording : public ::testing::Test {
protected:
    void SetUp() override {
        KLV_NEED(have_imagemagick(), "ImageMagick (convert, identify)");
        ASSERT_GE(open_window(width, height, "recorded", 0, 0, true, false), 0);
    }
    void TearDown() override { close_window(-2); }
    // Draws picture n on the hidden page and shows it; answers what the window shows.
    static Image show_picture(int n) {
        set_fill_style(1, rgb_color(10 * n, 200, 255 - n));
        fill_bar(0, 0, width, height);
        set_fill_style(n % 12, KLV_LIGHT_MAGENTA);
        fill_bar(5, 5, 5 + 3 * n, 25);
        put_pixel(n, 0, rgb_color(1, 2, n));
        swap_pages();
        return page_image(get_visual_page());
    }
    TempFolder folder;
};

// Each swap is a frame that stays until the next one; the last stays until
// the recording ends. Every colour is the page's own.
TEST_F(Recording, EachSwapIsAFrameWithTheTimeItWasShownAndThePagesColours) {
    const std::string file = folder.file("three.gif");
    std::vector<Image> shown{show_picture(1)};
    wait_idle();
    std::vector<Span> times{timed([&] { ASSERT_EQ(record_frames(file.c_str()), 0); })};
    for (int n = 2; n <= 3; ++n) {
        wait_ms(n * 150);
        times.push_back(timed([&] { shown.push_back(show_picture(n)); }));
    }
    wait_ms(400);
    times.push_back(timed([&] { ASSERT_EQ(record_frames(nullptr), 0); }));
    const GifFrames gif = read_gif(file);
    ASSERT_EQ(gif.frames.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(count_differences(gif.frames[i], shown[i]), 0) << "frame " << i;
        SCOPED_TRACE("frame " + std::to_string(i));
        expect_delay(gif.delays[i], times[i], times[i + 1]);
    }
    EXPECT_EQ(folder.names(), std::vector<std::string>{"three.gif"});  // no temporary file left
}

// Pictures come faster than 50 a second: no frame is shorter than two
// hundredths, and the last picture is shown by a frame even though nothing
// was drawn after it.
TEST_F(Recording, PicturesFasterThanFiftyASecondAreFramesOfTwoHundredthsAndTheLastIsKept) {
    const std::string file = folder.file("fast.gif");
    ASSERT_EQ(record_frames(file.c_str()), 0);
    const Clock::time_point start = Clock::now();
    Image last;
    for (int n = 1; n <= 60; ++n) {
        last = show_picture(n);
        wait_ms(4);  // a picture every few milliseconds, painted as they come
    }
    // A frame begins with one picture, and the next is painted at once.
    wait_ms(30);
    show_picture(61);
    wait_idle();
    last = show_picture(62);
    wait_idle();
    const int drawn = hundredths_between(start, Clock::now());
    wait_ms(300);
    ASSERT_EQ(record_frames(nullptr), 0);
    const GifFrames gif = read_gif(file);
    ASSERT_GE(gif.frames.size(), 2u);
    EXPECT_LE(int(gif.frames.size()), drawn / 2 + 3);
    for (std::size_t i = 0; i + 1 < gif.delays.size(); ++i) EXPECT_GE(gif.delays[i], 2) << "frame " << i;
    EXPECT_EQ(count_differences(gif.frames.back(), last), 0);
    EXPECT_GE(gif.delays.back(), 25);
}

// Drawing on the shown page with automatic refresh: what the refresh shows
// is a frame. A redraw of an unchanged page adds no frame.
TEST_F(Recording, WhatAutomaticRefreshShowsIsAFrameAndARepaintOfTheSamePictureIsNone) {
    close_window(-2);
    ASSERT_GE(open_window(width, height, "single", 0, 0, false, false), 0);
    const std::string file = folder.file("refresh.gif");
    ASSERT_EQ(record_frames(file.c_str()), 0);
    wait_ms(100);
    const Span filled = timed([] {
        set_fill_style(1, KLV_YELLOW);
        fill_bar(0, 0, 20, 30);
    });
    wait_ms(100);
    redraw_window();
    wait_ms(100);
    const Span ended = timed([] { ASSERT_EQ(record_frames(nullptr), 0); });
    const GifFrames gif = read_gif(file);
    ASSERT_EQ(gif.frames.size(), 2u);
    EXPECT_EQ(gif.frames[0].at(0, 0), 0u);
    EXPECT_EQ(gif.frames[1].at(0, 0), 0xFFFF00u);
    EXPECT_EQ(gif.frames[1].at(30, 0), 0u);
    expect_delay(gif.delays[1], filled, ended);
}

TEST_F(Recording, ClosingTheWindowWritesTheFile) {
    const std::string file = folder.file("closed.gif");
    ASSERT_EQ(record_frames(file.c_str()), 0);
    show_picture(1);
    wait_ms(50);
    close_window(-1);
    EXPECT_EQ(read_gif(file).frames.size(), 2u);
}

// Refusals: a folder that is missing, a second recording of the window (the
// first goes on), and an existing file kept whole until the recording ends.
TEST_F(Recording, FilesThatCannotBeWrittenAndASecondRecordingAreRefused) {
    EXPECT_EQ(record_frames(folder.file("missing/a.gif").c_str()), KLV_ERROR_CANNOT_WRITE_FILE);
    EXPECT_EQ(take_error(), KLV_ERROR_CANNOT_WRITE_FILE);
    EXPECT_EQ(record_frames(""), KLV_ERROR_CANNOT_WRITE_FILE);
    EXPECT_EQ(record_frames(nullptr), 0);  // nothing to end
    const std::string file = folder.file("kept.gif");
    std::ofstream(file) << "old";
    ASSERT_EQ(record_frames(file.c_str()), 0);
    EXPECT_EQ(record_frames(folder.file("other.gif").c_str()), KLV_ERROR_ALREADY_RECORDING);
    EXPECT_EQ(take_error(), KLV_ERROR_ALREADY_RECORDING);
    show_picture(1);
    wait_ms(50);
    EXPECT_EQ(read_file_bytes(file), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    ASSERT_EQ(record_frames(nullptr), 0);
    EXPECT_EQ(read_gif(file).frames.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(folder.file("other.gif")));
    EXPECT_STREQ(error_text(KLV_ERROR_CANNOT_WRITE_FILE), "The file could not be written.");
}

// After the first frame unchanged pixels are transparent, which takes a
// palette entry: a change of 256 colours is stored whole instead.
TEST_F(Recording, AFrameOf256NewColoursAfterAnotherKeepsThemAll) {
    const std::string file = folder.file("256.gif");
    ASSERT_EQ(record_frames(file.c_str()), 0);
    wait_ms(50);
    for (int i = 0; i < 256; ++i) put_pixel(i % 16, i / 16, rgb_color(i, 255 - i, 7));
    swap_pages();
    const Image shown = page_image(get_visual_page());
    wait_ms(50);
    ASSERT_EQ(record_frames(nullptr), 0);
    const GifFrames gif = read_gif(file);
    ASSERT_EQ(gif.frames.size(), 2u);
    EXPECT_EQ(count_differences(gif.frames[1], shown), 0);
}

// A page of more colours than a GIF frame holds is reduced, close to its
// own colours: ImageMagick's `convert -colors 256 +dither` makes this page
// 5.8 levels a channel off on average and 35 at worst (ours: 5.5 and 27;
// 5.9 and 30 without the k-means passes).
TEST_F(Recording, APageOfManyColoursIsReducedCloseToItsColours) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) put_pixel(x, y, rgb_color(x * 6, y * 8, (x * y) % 256));
    swap_pages();
    const Image shown = page_image(get_visual_page());
    const std::string file = folder.file("many.gif");
    ASSERT_EQ(record_frames(file.c_str()), 0);
    wait_ms(50);
    ASSERT_EQ(record_frames(nullptr), 0);
    const GifFrames gif = read_gif(file);
    ASSERT_EQ(gif.frames.size(), 1u);
    long total = 0, worst = 0;
    for (std::size_t i = 0; i < shown.pixels.size(); ++i)
        for (int shift : {0, 8, 16}) {
            const long error = std::labs(long(shown.pixels[i] >> shift & 0xFF) - long(gif.frames[0].pixels[i] >> shift & 0xFF));
            total += error, worst = std::max(worst, error);
        }
    EXPECT_LT(double(total) / double(shown.pixels.size() * 3), 5.7);
    EXPECT_LE(worst, 28);
}

// KLV_RECORD records a program that never calls record_frames, and the end
// of the program (a return from main) writes the file.
TEST(RecordingProgram, TheEnvironmentRecordsAProgramToItsEnd) {
    KLV_NEED(have_imagemagick(), "ImageMagick (convert, identify)");
    TempFolder folder;
    const std::string file = folder.file("program.gif");
    const pid_t child = fork();
    if (child == 0) {
        setenv("KLV_RECORD", file.c_str(), 1);
        setenv("KLV_BACKEND", "headless", 1);
        execl(KLV_RECORD_UNTIL_EXIT, KLV_RECORD_UNTIL_EXIT, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(status, 0);
    const GifFrames gif = read_gif(file);
    ASSERT_EQ(gif.frames.size(), 3u);  // black, green, blue
    EXPECT_EQ(gif.frames[1].at(0, 0), 0x80FF80u);
    EXPECT_EQ(gif.frames[2].at(0, 0), 0x8080FFu);
    EXPECT_NEAR(gif.delays[1], 10, 3);
}

}  // namespace
}  // namespace klv::test

// Each example program run on the headless backend draws the picture the
// README shows: the program saves it, and it must equal the one in docs/.
#include <gtest/gtest.h>

#include <cairo.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "tests/support/bmp_image.h"

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

// Runs the example in a folder of its own until it has saved its picture
// (the save replaces the file in one step), then ends it.
Image picture_of(const std::string& example) {
    const fs::path folder = fs::temp_directory_path() / ("klv-example-" + example + "-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const fs::path program = fs::path(KLV_BINARY_DIR) / example;
    const fs::path picture = folder / (example + ".bmp");
    const pid_t child = fork();
    if (child == 0) {
        if (chdir(folder.c_str()) == 0 && setenv("KLV_BACKEND", "headless", 1) == 0 &&
            freopen("/dev/null", "w", stdout) != nullptr)
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!fs::exists(picture) && std::chrono::steady_clock::now() < deadline && waitpid(child, nullptr, WNOHANG) == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // pacing the poll, under a deadline
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    Image image = fs::exists(picture) ? read_bmp(picture.string()) : Image{};
    fs::remove_all(folder);
    return image;
}

TEST(Examples, EachDrawsThePictureItsPageShows) {
    for (const std::string example : {"bouncing_ball", "xor_sprite", "justified_chart", "clock_face", "stained_glass"}) {
        const Image actual = picture_of(example);
        ASSERT_GT(actual.width, 0) << example << " saved no picture";
        const Image expected = read_png(fs::path(KLV_SOURCE_DIR) / "docs" / (example + ".png"));
        EXPECT_EQ(count_differences(actual, expected), 0) << example;
    }
}

}  // namespace
}  // namespace klv::test

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <memory>

#include "graphics/export/dib.h"
#include "tests/graphics/export/temp_folder.h"
#include "tests/support/test_needs.h"

namespace klv {
namespace {

using test::read_file_bytes;
using test::u32_at;

DibHandle screen_dib(int width, int height) {
    gdi::Bitmap bitmap(width, height, 32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.row(y)[x] = gdi::Pixel(x * 0x010203 + y * 0x030100);
    return bitmap_to_dib(&bitmap, nullptr);
}

// An 8-bit DIB made by hand: header, 256 colours, one row per line.
DibHandle eight_bit_dib(int width, int height) {
    gdi::BitmapInfoHeader header;
    header.width = width;
    header.height = height;
    header.bit_count = 8;
    std::size_t rows = std::size_t(gdi::dib_row_bytes(8, width)) * std::size_t(height);
    DibHandle dib = DibHandle::allocate(40 + 1024 + rows);
    DibLock lock(dib);
    std::memcpy(lock.data(), &header, sizeof header);
    for (int i = 0; i < 256; ++i) lock.data()[40 + 4 * i + 1] = std::uint8_t(i);  // green ramp
    return dib;
}

void write_text(const std::string& path, const std::string& text) { std::ofstream(path) << text; }
std::string read_text(const std::string& path) {
    auto bytes = read_file_bytes(path);
    return {bytes.begin(), bytes.end()};
}

TEST(WriteDibFile, ScreenSizedImageIsA24BitBmp) {
    test::TempFolder folder;
    DibHandle dib = screen_dib(640, 480);
    ASSERT_EQ(write_dib_file(dib, folder.file("chart.bmp").c_str()), dib_written);
    auto bytes = read_file_bytes(folder.file("chart.bmp"));
    ASSERT_EQ(bytes.size(), 921654u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(u32_at(bytes, 2), 921654u);
    EXPECT_EQ(u32_at(bytes, 6), 0u);
    EXPECT_EQ(u32_at(bytes, 10), 54u);
    EXPECT_EQ(u32_at(bytes, 14 + 20), 921600u);  // image size
    DibLock lock(dib);
    EXPECT_EQ(std::memcmp(bytes.data() + 14, lock.data(), 40 + 921600), 0);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"chart.bmp"});  // no temporary file left
}

TEST(WriteDibFile, ColourTableMovesThePixelOffset) {
    test::TempFolder folder;
    gdi::Bitmap mono(9, 2, 1);
    DibHandle one_bit = bitmap_to_dib(&mono, nullptr);
    ASSERT_EQ(write_dib_file(one_bit, folder.file("mono.bmp").c_str()), dib_written);
    auto bytes = read_file_bytes(folder.file("mono.bmp"));
    EXPECT_EQ(u32_at(bytes, 10), 62u);
    EXPECT_EQ(bytes.size(), 62u + 8u);
    DibHandle eight = eight_bit_dib(640, 480);
    ASSERT_EQ(write_dib_file(eight, folder.file("eight.bmp").c_str()), dib_written);
    bytes = read_file_bytes(folder.file("eight.bmp"));
    EXPECT_EQ(u32_at(bytes, 10), 1078u);
    EXPECT_EQ(u32_at(bytes, 2), 308278u);
    EXPECT_EQ(bytes.size(), 308278u);
    EXPECT_EQ(u32_at(bytes, 14 + 20), 307200u);  // image size computed and written back
    DibLock lock(eight);
    EXPECT_EQ(u32_at(std::vector<std::uint8_t>(lock.data(), lock.data() + 40), 20), 307200u);
}

TEST(WriteDibFile, NoDibTouchesNothing) {
    test::TempFolder folder;
    DibHandle none;
    EXPECT_EQ(write_dib_file(none, folder.file("x.bmp").c_str()), dib_missing);
    DibHandle too_small = DibHandle::allocate(39);
    EXPECT_EQ(write_dib_file(too_small, folder.file("x.bmp").c_str()), dib_missing);
    DibHandle truncated = screen_dib(8, 8);
    ASSERT_TRUE(truncated.reallocate(40 + 100));  // header says 8 rows of 24 bytes
    EXPECT_EQ(write_dib_file(truncated, folder.file("x.bmp").c_str()), dib_missing);
    DibHandle core_header = screen_dib(2, 2);
    core_header.lock()[0] = 12;  // another header form
    core_header.unlock();
    EXPECT_EQ(write_dib_file(core_header, folder.file("x.bmp").c_str()), dib_missing);
    EXPECT_TRUE(folder.names().empty());
}

TEST(WriteDibFile, UnwritablePlacesGiveCode4AndLeaveNothing) {
    test::TempFolder folder;
    DibHandle dib = screen_dib(4, 4);
    EXPECT_EQ(write_dib_file(dib, folder.file("missing/x.bmp").c_str()), dib_cannot_write);
    write_text(folder.file("plain.txt"), "text");
    EXPECT_EQ(write_dib_file(dib, folder.file("plain.txt/x.bmp").c_str()), dib_cannot_write);
    std::filesystem::create_directory(folder.file("sub"));
    EXPECT_EQ(write_dib_file(dib, folder.file("sub").c_str()), dib_cannot_write);
    EXPECT_EQ(write_dib_file(dib, ""), dib_cannot_write);
    EXPECT_EQ(write_dib_file(dib, nullptr), dib_cannot_write);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"plain.txt", "sub"}));
    EXPECT_TRUE(std::filesystem::is_empty(folder.file("sub")));
    EXPECT_EQ(read_text(folder.file("plain.txt")), "text");
}

TEST(WriteDibFile, ReplacesAnExistingFileKeepingItsPermissions) {
    test::TempFolder folder;
    std::string path = folder.file("old.bmp");
    write_text(path, std::string(2000000, 'x'));
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    DibHandle dib = screen_dib(4, 4);
    ASSERT_EQ(write_dib_file(dib, path.c_str()), dib_written);
    EXPECT_EQ(read_file_bytes(path).size(), 54u + 48u);
    struct stat status {};
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

TEST(WriteDibFile, ASymbolicLinkIsFollowed) {
    test::TempFolder folder;
    write_text(folder.file("real.bmp"), "old");
    std::filesystem::create_symlink(folder.file("real.bmp"), folder.file("link.bmp"));
    DibHandle dib = screen_dib(4, 4);
    ASSERT_EQ(write_dib_file(dib, folder.file("link.bmp").c_str()), dib_written);
    EXPECT_TRUE(std::filesystem::is_symlink(folder.file("link.bmp")));
    EXPECT_EQ(read_file_bytes(folder.file("real.bmp")).size(), 54u + 48u);
}

// A disk that fills up part way: the file-size limit stops the write in a
// child process, which reports write_dib_file's code as its exit status.
TEST(WriteDibFile, ARunOutOfRoomKeepsTheOldFile) {
    test::TempFolder folder;
    std::string path = folder.file("chart.bmp");
    write_text(path, "the previous picture");
    DibHandle dib = screen_dib(640, 480);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{100000, 100000};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(write_dib_file(dib, path.c_str()));
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), dib_cannot_write);
    EXPECT_EQ(read_text(path), "the previous picture");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"chart.bmp"});
}

TEST(WriteDibFile, ImageMagickReadsTheSamePixels) {
    KLV_NEED(std::system("command -v convert >/dev/null 2>&1") == 0, "ImageMagick's convert");
    test::TempFolder folder;
    DibHandle dib = screen_dib(641, 3);
    ASSERT_EQ(write_dib_file(dib, folder.file("odd.bmp").c_str()), dib_written);
    std::string command = "convert '" + folder.file("odd.bmp") + "' -depth 8 rgb:'" + folder.file("odd.rgb") + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    auto rgb = read_file_bytes(folder.file("odd.rgb"));
    ASSERT_EQ(rgb.size(), 641u * 3 * 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 641; x += 80) {
            gdi::Pixel expected = gdi::Pixel(x * 0x010203 + y * 0x030100);
            const std::uint8_t* p = &rgb[(std::size_t(y) * 641 + std::size_t(x)) * 3];
            EXPECT_EQ(gdi::Pixel(p[0] << 16 | p[1] << 8 | p[2]), expected & 0xFFFFFF) << x << "," << y;
        }
}

}  // namespace
}  // namespace klv

// The golden script reader and the image comparison shared by golden tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "tests/support/bmp_image.h"
#include "tests/support/golden_script.h"

namespace klv::test {
namespace {

TEST(GoldenScript, IntegersAreDecimalOrHexAndWrapTo32Bits) {
    EXPECT_EQ(parse_golden_int("42"), 42);
    EXPECT_EQ(parse_golden_int("-7"), -7);
    EXPECT_EQ(parse_golden_int("0x00FF"), 255);
    EXPECT_EQ(parse_golden_int("0xFFFFFFFF"), -1);
    EXPECT_EQ(parse_golden_int("-0x10"), -16);
    EXPECT_EQ(parse_golden_int("4294967296"), 0);
    EXPECT_EQ(parse_golden_int("2147483648"), -2147483647 - 1);
    EXPECT_THROW(parse_golden_int("12a"), std::invalid_argument);
    EXPECT_THROW(parse_golden_int("0x"), std::invalid_argument);
    EXPECT_THROW(parse_golden_int("-"), std::invalid_argument);
}

TEST(GoldenScript, CommentsBlankLinesAndTextKeepingItsHash) {
    std::istringstream in(
        "# heading\n"
        "\n"
        "window 160 120 1  # double buffer\n"
        "  # indented comment\n"
        "text 5 -6 Total: 100% # not a comment\n"
        "text 1 2  two spaces\n"
        "linestyle 4 0xF0F0 1\r\n");
    std::vector<GoldenOp> ops = parse_golden_script(in);
    ASSERT_EQ(ops.size(), 4u);
    EXPECT_EQ(ops[0].name, "window");
    EXPECT_EQ(ops[0].ints, (std::vector<int>{160, 120, 1}));
    EXPECT_EQ(ops[0].line, 3);
    EXPECT_EQ(ops[1].ints, (std::vector<int>{5, -6}));
    EXPECT_EQ(ops[1].text, "Total: 100% # not a comment");
    EXPECT_EQ(ops[2].text, " two spaces");  // only one separator is taken
    EXPECT_EQ(ops[3].ints, (std::vector<int>{4, 0xF0F0, 1}));
}

TEST(GoldenScript, BadTokenNamesItsLine) {
    std::istringstream in("window 10 10\nline 1 2 x 4\n");
    try {
        parse_golden_script(in);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
    }
}

TEST(GoldenScript, PointListsAndOutTextAreReadAndArgumentCountsChecked) {
    std::istringstream in(
        "polyline 2 1 2 3 4 # two points\n"
        "fill_polygon 0\n"
        "out_text Cb # kept\n"
        "clear_page\n");
    std::vector<GoldenOp> ops = parse_golden_script(in);
    ASSERT_EQ(ops.size(), 4u);
    EXPECT_EQ(ops[0].ints, (std::vector<int>{2, 1, 2, 3, 4}));
    EXPECT_EQ(ops[1].ints, (std::vector<int>{0}));
    EXPECT_TRUE(ops[2].ints.empty());
    EXPECT_EQ(ops[2].text, "Cb # kept");
    for (const char* bad : {"polyline 2 1 2 3\n", "polyline -1\n", "circle 1 2\n", "swap 1\n", "squiggle 1\n"}) {
        std::istringstream one(bad);
        EXPECT_THROW(parse_golden_script(one), std::runtime_error) << bad;
    }
}

TEST(BmpImage, WrittenImagesReadBackAndDifferencesRespectTheMask) {
    Image a{3, 2, {0x010203, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000}};
    std::string path = (std::filesystem::path(KLV_BINARY_DIR) / "bmp_image_test.bmp").string();
    ASSERT_TRUE(write_bmp(path, a));
    Image b = read_bmp(path);
    EXPECT_EQ(b.width, 3);
    EXPECT_EQ(b.pixels, a.pixels);
    b.pixels[4] = 0x123456;  // (1, 1)
    b.pixels[0] = 0x123456;  // (0, 0)
    EXPECT_EQ(count_differences(b, a), 2);
    EXPECT_EQ(count_differences(b, a, {{1, 1, 2, 2}}), 1);
    Image diff = difference_image(b, a);
    EXPECT_EQ(diff.at(1, 1), 0xFF0000u);
    EXPECT_NE(diff.at(2, 1), 0xFF0000u);
    EXPECT_EQ(count_differences(Image{1, 1, {0}}, a), 6);
    std::filesystem::remove(path);
    EXPECT_THROW(read_bmp(path), std::runtime_error);
}

}  // namespace
}  // namespace klv::test

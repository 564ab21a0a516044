#include <gtest/gtest.h>

#include <fstream>

#include "graphics/export/bmp_file_name.h"
#include "platform/ui/save_dialog_testing.h"
#include "tests/graphics/export/temp_folder.h"

namespace klv {
namespace {

TEST(BmpExtension, AppendedUnlessThreeCharactersFollowADot) {
    EXPECT_EQ(with_bmp_extension("chart"), "chart.BMP");
    EXPECT_EQ(with_bmp_extension("chart.bmp"), "chart.bmp");
    EXPECT_EQ(with_bmp_extension("chart.txt"), "chart.txt");
    EXPECT_EQ(with_bmp_extension("chart.jpeg"), "chart.jpeg.BMP");
    EXPECT_EQ(with_bmp_extension("a"), "a.BMP");
    EXPECT_EQ(with_bmp_extension(".bm"), ".bm.BMP");
    EXPECT_EQ(with_bmp_extension(".bmp"), ".bmp");
    EXPECT_EQ(with_bmp_extension("dir.x/chart"), "dir.x/chart.BMP");
}

TEST(BmpExtension, LongNamesStayAsTheyAre) {
    EXPECT_EQ(with_bmp_extension(std::string(255, 'n')), std::string(255, 'n') + ".BMP");
    EXPECT_EQ(with_bmp_extension(std::string(256, 'n')), std::string(256, 'n'));
    EXPECT_EQ(with_bmp_extension(std::string(300, 'n')), std::string(300, 'n'));
}

class AskBmpFileName : public ::testing::Test {
protected:
    void TearDown() override { ui::testing::clear_dialog_answers(); }
    test::TempFolder folder;
};

TEST_F(AskBmpFileName, CancelGivesNoName) {
    ui::testing::set_save_dialog_answer(std::nullopt);
    EXPECT_FALSE(ask_bmp_file_name(nullptr));
    ui::testing::set_save_dialog_answer("");
    EXPECT_FALSE(ask_bmp_file_name(nullptr));
    EXPECT_EQ(ui::testing::save_dialogs_shown(), 2);
}

TEST_F(AskBmpFileName, AsksBeforeReplacingTheLongerName) {
    ui::testing::set_save_dialog_answer(folder.file("chart"));
    EXPECT_EQ(ask_bmp_file_name(nullptr), folder.file("chart.BMP"));
    EXPECT_EQ(ui::testing::overwrite_questions_asked(), 0);  // nothing to replace
    std::ofstream(folder.file("chart.BMP")) << "old";
    ui::testing::set_overwrite_answer(false);
    EXPECT_FALSE(ask_bmp_file_name(nullptr));
    EXPECT_EQ(ui::testing::overwrite_questions_asked(), 1);
    ui::testing::set_overwrite_answer(true);
    EXPECT_EQ(ask_bmp_file_name(nullptr), folder.file("chart.BMP"));
    // A name used as typed was the dialog's own question.
    std::ofstream(folder.file("chart.bmp")) << "old";
    ui::testing::set_save_dialog_answer(folder.file("chart.bmp"));
    ui::testing::set_overwrite_answer(false);
    EXPECT_EQ(ask_bmp_file_name(nullptr), folder.file("chart.bmp"));
    EXPECT_EQ(ui::testing::overwrite_questions_asked(), 2);
}

}  // namespace
}  // namespace klv

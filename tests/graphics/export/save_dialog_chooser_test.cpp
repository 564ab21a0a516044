// The desktop's chooser programs, played by small scripts on PATH that note
// their arguments and answer as the real ones do.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "platform/ui/messages.h"
#include "platform/ui/x11/save_dialog_chooser.h"
#include "tests/graphics/export/temp_folder.h"

namespace klv::ui {
namespace {

class DesktopChooser : public ::testing::Test {
protected:
    void SetUp() override {
        const char* path = std::getenv("PATH");
        saved_path_ = path ? path : "";
        setenv("PATH", folder.path().c_str(), 1);
    }
    void TearDown() override { setenv("PATH", saved_path_.c_str(), 1); }

    // A program that writes its arguments, one a line, to NAME.args, prints
    // `output` and exits with `status`.
    void install(const std::string& name, const std::string& output, int status) {
        std::string path = folder.file(name);
        std::ofstream(path) << "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"${0}.args\"\nprintf '%s' '"
                            << output << "'\nexit " << status << "\n";
        chmod(path.c_str(), 0755);
    }
    std::string arguments_of(const std::string& name) {
        auto bytes = test::read_file_bytes(folder.file(name + ".args"));
        return {bytes.begin(), bytes.end()};
    }

    test::TempFolder folder;
    SaveFileRequest request{"Bitmap files (*.bmp)", "*.BMP", "", nullptr, "Save image as", {{"PNG files (*.png)", "*.PNG"}}};

private:
    std::string saved_path_;
};

TEST_F(DesktopChooser, ZenityAsksWithTheFilterAndGivesThePath) {
    install("zenity", "/home/user/chart\n", 0);
    install("kdialog", "/wrong\n", 0);
    EXPECT_EQ(choose_save_file(request), "/home/user/chart");
    EXPECT_EQ(arguments_of("zenity"),
              "--title=Save image as\n--file-selection\n--save\n--confirm-overwrite\n--file-filter=Bitmap files (*.bmp) | *.BMP *.bmp\n"
              "--file-filter=PNG files (*.png) | *.PNG *.png\n");
}

TEST_F(DesktopChooser, CancelAndFailureGiveNoName) {
    install("zenity", "", 1);
    EXPECT_FALSE(choose_save_file(request));
    install("zenity", "/tmp/x\n", 255);
    EXPECT_FALSE(choose_save_file(request));
}

TEST_F(DesktopChooser, KdialogStandsInForZenity) {
    install("kdialog", "/home/user/pie.bmp\n", 0);
    EXPECT_TRUE(file_chooser_installed());
    EXPECT_EQ(choose_save_file(request), "/home/user/pie.bmp");
    std::string arguments = arguments_of("kdialog");
    EXPECT_TRUE(arguments.starts_with("--title\nSave image as\n--getsavefilename\n")) << arguments;
    EXPECT_TRUE(arguments.ends_with("\n*.BMP *.bmp|Bitmap files (*.bmp)\n*.PNG *.png|PNG files (*.png)\n")) << arguments;
}

TEST_F(DesktopChooser, ReplaceQuestionIsYesOnlyForStatusZero) {
    install("zenity", "", 0);
    EXPECT_TRUE(ask_replace_with_chooser(nullptr, "/tmp/a&b.BMP"));
    EXPECT_NE(arguments_of("zenity").find("--text=/tmp/a&amp;b.BMP already exists."), std::string::npos);
    install("zenity", "", 1);
    EXPECT_FALSE(ask_replace_with_chooser(nullptr, "/tmp/a.BMP"));
}

TEST_F(DesktopChooser, NoChooserInstalled) {
    EXPECT_FALSE(file_chooser_installed());
    EXPECT_FALSE(choose_save_file(request));
    EXPECT_FALSE(ask_replace_with_chooser(nullptr, "/tmp/a.BMP"));
}

}  // namespace
}  // namespace klv::ui

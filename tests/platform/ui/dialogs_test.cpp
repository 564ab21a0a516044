// Our own dialogs on the headless backend: the message box's keys, and what
// the built-in file chooser lists and does with a typed name. (The chooser
// is driven end to end on a real X server in the X11 tests.)
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <future>
#include <thread>

#include "platform/ui/file_chooser_folder.h"
#include "platform/ui/message_dialog.h"
#include "platform/ui/testing.h"
#include "tests/graphics/export/temp_folder.h"
#include "tests/platform/ui/window_thread.h"

namespace klv::ui {
namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t WM_ASK = 0x0400;

// The live window of that title, waited for (five seconds at most).
Window* window_titled(const std::string& title) {
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (std::chrono::steady_clock::now() < end) {
        for (Window* w : testing::live_windows()) {
            if (testing::title(w) == title) return w;
        }
        std::this_thread::sleep_for(2ms);
    }
    return nullptr;
}

// The answer of a message box of `owner`'s thread after the keys are pressed.
int answer_after(std::uint32_t style, std::initializer_list<std::uint32_t> keys) {
    test::WindowThread owner;
    std::promise<int> answer;
    owner.hook = [&](std::uint32_t message, std::uintptr_t, std::intptr_t, std::intptr_t*) {
        if (message != WM_ASK) return false;
        answer.set_value(show_message_dialog(owner.window(), "Replace it?", "klv question", style));
        return true;
    };
    post_message(owner.window(), WM_ASK, 0, 0);
    Window* box = window_titled("klv question");
    if (box == nullptr) return -1;
    for (std::uint32_t key : keys) testing::press_key(box, key);
    auto result = answer.get_future();
    return result.wait_for(5s) == std::future_status::ready ? result.get() : -1;
}

TEST(MessageDialog, KeysPressTheFocusedButtonOrCancel) {
    EXPECT_EQ(answer_after(MB_OK, {VK_RETURN}), IDOK);
    EXPECT_EQ(answer_after(MB_OK, {VK_ESCAPE}), IDOK);
    EXPECT_EQ(answer_after(MB_YESNO, {VK_RETURN}), IDYES);
    EXPECT_EQ(answer_after(MB_YESNO | MB_DEFBUTTON2, {VK_RETURN}), IDNO);
    EXPECT_EQ(answer_after(MB_YESNO | MB_DEFBUTTON2, {VK_TAB, VK_SPACE}), IDYES);
    EXPECT_EQ(answer_after(MB_YESNO, {VK_ESCAPE}), IDNO);
    EXPECT_EQ(answer_after(MB_YESNO | MB_DEFBUTTON2, {'Y'}), IDYES);
    EXPECT_EQ(answer_after(MB_OKCANCEL, {VK_LEFT, VK_RETURN}), IDCANCEL);
}

TEST(MessageDialog, LongLinesAreWrappedAtSpacesAndLongWordsCut) {
    DialogLook look(1);
    const int width = look.text_width("0123456789");
    const auto lines = wrapped_lines(look, "one two three four five six\n\n01234567890123456789012", width);
    ASSERT_GE(lines.size(), 5u);
    for (const auto& line : lines) EXPECT_LE(look.text_width(line), width) << line;
    std::string joined;
    for (const auto& line : lines) joined += line + "|";
    EXPECT_NE(joined.find("||"), std::string::npos);  // the empty line stays
    EXPECT_NE(joined.find("0123456789|0123456789|012|"), std::string::npos) << joined;
}

class ChooserFolder : public ::testing::Test {
protected:
    void make_file(const std::string& name) { std::ofstream(folder.file(name)) << "x"; }
    klv::test::TempFolder folder;
};

TEST_F(ChooserFolder, ListsFoldersThenFilesOfTheFilterInAnyCase) {
    for (const char* name : {"b.BMP", "a.bmp", "c.png", ".hidden.bmp", "notes.txt"}) make_file(name);
    std::filesystem::create_directory(folder.file("z"));
    std::filesystem::create_directory(folder.file("m"));
    const std::vector<FolderEntry> expected = {
        {"..", true}, {"m", true}, {"z", true}, {"a.bmp", false}, {"b.BMP", false}};
    EXPECT_EQ(chooser_entries(folder.path().string(), "*.BMP"), expected);
    EXPECT_EQ(chooser_entries(folder.path().string(), "*.BMP; *.PNG").size(), 6u);
    EXPECT_EQ(chooser_entries(folder.file("missing"), "*.BMP"), (std::vector<FolderEntry>{{"..", true}}));
    EXPECT_EQ(chooser_entries("/", "*.BMP").front().name == "..", false);
}

TEST_F(ChooserFolder, TypedNamesAreJudgedRelativeToTheFolder) {
    using Kind = TypedName::Kind;
    const std::string here = folder.path().string();
    make_file("old.bmp");
    std::filesystem::create_directory(folder.file("sub"));
    EXPECT_EQ(judge_typed_name(here, "  ").kind, Kind::empty);
    EXPECT_EQ(judge_typed_name(here, "chart").kind, Kind::new_file);
    EXPECT_EQ(judge_typed_name(here, "chart").path, folder.file("chart"));
    EXPECT_EQ(judge_typed_name(here, "old.bmp").kind, Kind::exists);
    const TypedName sub = judge_typed_name(here, "sub/");
    EXPECT_EQ(sub.kind, Kind::open_folder);
    EXPECT_EQ(judge_typed_name(sub.path, "..").path, std::filesystem::weakly_canonical(here).string());
    EXPECT_EQ(judge_typed_name(here, "nowhere/chart").kind, Kind::missing_folder);
    EXPECT_EQ(judge_typed_name(here, "newfolder/").kind, Kind::missing_folder);
    EXPECT_EQ(std::filesystem::path(judge_typed_name(here, folder.file("sub/x.bmp")).path),
              std::filesystem::path(folder.file("sub/x.bmp")));  // absolute; Windows writes its own separators
#ifndef _WIN32
    EXPECT_EQ(judge_typed_name(here, "/dev/null").kind, Kind::not_a_file);
#endif
}

}  // namespace
}  // namespace klv::ui

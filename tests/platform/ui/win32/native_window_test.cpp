// The library's windows on real USER32: the class, the system menu as
// GetMenuString reads it, keys posted to the window reaching wait_key, the
// page shown on the screen, and the dialogs the window owns.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <future>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "graphics/klv.h"

// USER32 last: its macros must not meet our own names above.
#include <windows.h>

namespace {

using namespace std::chrono_literals;

class NativeWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GE(open_window(120, 90, "Native Test", 40, 40, false, false), 0);
        hwnd = FindWindowA("KLVLibrary", "Native Test");
        ASSERT_NE(hwnd, nullptr);
    }
    void TearDown() override { close_window(-2); }

    // A key as the keyboard gives it: the key down with its scan code, which
    // TranslateMessage turns into the character where the key has one.
    void post_key(UINT virtual_key) {
        const UINT scan = MapVirtualKeyA(virtual_key, MAPVK_VK_TO_VSC);
        const bool extended = virtual_key >= VK_PRIOR && virtual_key <= VK_DOWN;
        const LPARAM lparam = 1 | LPARAM(scan) << 16 | (extended ? LPARAM(1) << 24 : 0);
        PostMessageA(hwnd, WM_KEYDOWN, virtual_key, lparam);
        PostMessageA(hwnd, WM_KEYUP, virtual_key, lparam | LPARAM(3) << 30);
    }

    // A dialog the window owns: above it, on its thread, the window taking
    // no input while it is open.
    void expect_owned(HWND dialog) {
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), hwnd);
        EXPECT_EQ(GetWindowThreadProcessId(dialog, nullptr), GetWindowThreadProcessId(hwnd, nullptr));
        EXPECT_FALSE(IsWindowEnabled(hwnd));
    }

    HWND hwnd = nullptr;
};

// The dialog with this caption, once it shows; null after the deadline.
HWND shown_dialog(const char* caption) {
    for (auto until = std::chrono::steady_clock::now() + 10s; std::chrono::steady_clock::now() < until;) {
        HWND dialog = FindWindowA("#32770", caption);
        if (dialog && IsWindowVisible(dialog)) return dialog;
        std::this_thread::sleep_for(20ms);  // pacing, under a deadline
    }
    return nullptr;
}

std::string file_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// wait_key on another thread, with a deadline.
int next_byte() {
    auto reader = std::async(std::launch::async, [] { return wait_key(); });
    if (reader.wait_for(5s) != std::future_status::ready) {
        ADD_FAILURE() << "no key arrived";
        std::exit(1);  // the reader cannot be abandoned
    }
    return reader.get();
}

std::string item_text(HMENU menu, int position) {
    char text[64] = {};
    GetMenuStringA(menu, UINT(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST_F(NativeWindow, SystemMenuEndsWithTheFourCommands) {
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 6);
    const int first = count - 6;
    EXPECT_EQ(GetMenuState(menu, UINT(first), MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
    const std::pair<UINT, std::string> commands[] = {
        {4, "Save image as..."}, {1, "Print 2\" wide..."}, {2, "Print 4.5\" wide..."}, {3, "Print 7\" wide..."}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(GetMenuItemID(menu, first + 1 + i), commands[i].first);
        EXPECT_EQ(item_text(menu, first + 1 + i), commands[i].second);
    }
    EXPECT_EQ(GetMenuState(menu, UINT(count - 1), MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
}

TEST_F(NativeWindow, TypedKeysReachWaitKeyAsOnLinux) {
    post_key('A');
    EXPECT_EQ(next_byte(), 'a');
    post_key(VK_RETURN);
    EXPECT_EQ(next_byte(), 13);
    post_key(VK_ESCAPE);
    EXPECT_EQ(next_byte(), 27);
    // Navigation and function keys wake the reader with 0, then their code.
    const std::pair<UINT, int> extended[] = {{VK_LEFT, 75}, {VK_HOME, 71}, {VK_DELETE, 83}, {VK_F1, 59}, {VK_F9, 67}};
    for (const auto& [key, code] : extended) {
        post_key(key);
        EXPECT_EQ(next_byte(), 0) << key;
        EXPECT_EQ(next_byte(), code) << key;
    }
}

TEST_F(NativeWindow, TheScreenShowsTheVisualPage) {
    set_fill_style(1, 4);
    fill_bar(10, 10, 59, 39);
    HDC dc = GetDC(hwnd);
    COLORREF seen = CLR_INVALID;
    for (auto until = std::chrono::steady_clock::now() + 5s; std::chrono::steady_clock::now() < until;) {
        seen = GetPixel(dc, 30, 20);
        if (seen == RGB(0x80, 0, 0)) break;
        std::this_thread::sleep_for(20ms);  // pacing, under a deadline
    }
    EXPECT_EQ(seen, RGB(0x80, 0, 0));
    EXPECT_EQ(GetPixel(dc, 70, 20), RGB(0, 0, 0));
    ReleaseDC(hwnd, dc);
}

// "Save image as..." from the system menu: the file chooser, then the
// question before the name it extends replaces a file, both the window's.
TEST_F(NativeWindow, SaveDialogAndReplaceQuestionBelongToTheWindow) {
    char folder[MAX_PATH] = {};
    ASSERT_GT(GetTempPathA(MAX_PATH, folder), 0u);
    const std::string name = std::string(folder) + "klv-owned-dialogs";
    std::ofstream(name + ".BMP", std::ios::binary) << "kept";
    PostMessageA(hwnd, WM_SYSCOMMAND, 4, 0);
    HWND chooser = shown_dialog("Save image as");
    ASSERT_NE(chooser, nullptr);
    expect_owned(chooser);
    // The name box: an edit box, or a combo box where the dialog keeps recent names.
    if (!SetDlgItemTextA(chooser, 0x480, name.c_str())) SetDlgItemTextA(chooser, 0x47c, name.c_str());
    PostMessageA(chooser, WM_COMMAND, IDOK, 0);
    HWND question = shown_dialog("Save image as...");
    ASSERT_NE(question, nullptr);
    expect_owned(question);
    PostMessageA(question, WM_COMMAND, IDNO, 0);
    for (auto until = std::chrono::steady_clock::now() + 5s;
         !IsWindowEnabled(hwnd) && std::chrono::steady_clock::now() < until;) {
        std::this_thread::sleep_for(20ms);  // pacing, under a deadline
    }
    EXPECT_TRUE(IsWindowEnabled(hwnd));
    EXPECT_EQ(file_text(name + ".BMP"), "kept");
    DeleteFileA((name + ".BMP").c_str());
}

}  // namespace

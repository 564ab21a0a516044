// Keys typed into a window come out of wait_key one byte at a time.
#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "graphics/klv.h"
#include "platform/ui/testing.h"
#include "tests/support/eventually.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

using namespace std::chrono_literals;

class Keyboard : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GE(open_window(40, 30, "keys", 0, 0, false, false), 0); }
    void TearDown() override { close_window(-2); }
    ui::Window* window() { return current_window_handle(); }
    // wait_key on another thread, as a program blocked in it: returned once
    // the reader waits for the window's key signal.
    std::future<int> waiting_reader() {
        auto reader = std::async(std::launch::async, [] { return wait_key(); });
        EXPECT_TRUE(eventually([this] { return current_state()->key_event.waiting() == 1; }));
        return reader;
    }
};

TEST_F(Keyboard, CharacterKeysGiveTheirCode) {
    auto reader = waiting_reader();
    ui::testing::type_character(window(), 'a');
    ASSERT_EQ(reader.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(reader.get(), 97);
}

TEST_F(Keyboard, KeysPressedBeforeTheWaitAreReturnedAtOnce) {
    ui::testing::press_key(window(), ui::VK_HOME);
    wait_idle();
    EXPECT_EQ(key_pressed(), 1);
    EXPECT_EQ(wait_key(), 0);
    EXPECT_EQ(wait_key(), 71);
    EXPECT_EQ(key_pressed(), 0);
}

// Every key that queues bytes wakes the reader: each navigation and
// function key gives 0, then its own code.
TEST_F(Keyboard, EveryExtendedKeyWakesAWaitingReader) {
    const std::pair<std::uint32_t, int> keys[] = {
        {ui::VK_CLEAR, 76}, {ui::VK_PRIOR, 73}, {ui::VK_NEXT, 81},  {ui::VK_END, 79},    {ui::VK_HOME, 71},
        {ui::VK_LEFT, 75},  {ui::VK_UP, 72},    {ui::VK_RIGHT, 77}, {ui::VK_DOWN, 80},   {ui::VK_INSERT, 82},
        {ui::VK_DELETE, 83}, {ui::VK_F1, 59},   {ui::VK_F1 + 1, 60}, {ui::VK_F1 + 2, 61}, {ui::VK_F1 + 3, 62},
        {ui::VK_F1 + 4, 63}, {ui::VK_F1 + 5, 64}, {ui::VK_F1 + 6, 65}, {ui::VK_F1 + 7, 66}, {ui::VK_F1 + 8, 67},
    };
    for (const auto& [key, code] : keys) {
        SCOPED_TRACE(code);
        auto reader = waiting_reader();
        ui::testing::press_key(window(), key);
        if (reader.wait_for(2s) != std::future_status::ready) {
            ADD_FAILURE() << "the waiting reader was not woken";
            ui::testing::type_character(window(), 'x');  // frees the reader
            reader.get();
            while (key_pressed()) wait_key();
            continue;
        }
        EXPECT_EQ(reader.get(), 0);
        EXPECT_EQ(wait_key(), code);
    }
}

TEST_F(Keyboard, BytesAboveOneHundredAndTwentySevenAreNegative) {
    ui::testing::type_character(window(), 0xE9);
    EXPECT_EQ(wait_key(), -23);
}

TEST_F(Keyboard, ARepeatCountQueuesOneCharacter) {
    ui::testing::type_character(window(), 'z', 3);
    wait_idle();
    EXPECT_EQ(current_state()->key_queue.size(), 1u);
}

TEST_F(Keyboard, ModifiersAndF10QueueNothing) {
    for (std::uint32_t key : {ui::VK_SHIFT, ui::VK_CONTROL, ui::VK_F10, ui::VK_F12}) ui::testing::press_key(window(), key);
    wait_idle();
    EXPECT_EQ(key_pressed(), 0);
}

TEST_F(Keyboard, KeysStayInTheWindowTheyWereTypedInto) {
    ui::Window* first = window();
    ASSERT_GE(open_window(40, 30, "second", 0, 0, false, false), 0);
    ui::testing::type_character(first, 'q');
    ui::testing::wait_until_idle(first);
    EXPECT_EQ(key_pressed(), 0);
    EXPECT_EQ(static_cast<WindowState*>(ui::user_data(first))->key_queue.size(), 1u);
}

}  // namespace
}  // namespace klv::test

// Keys typed into a window come out of wait_key one byte at a time.
#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "graphics/klv.h"
#include "platform/ui/testing.h"
#include "tests/support/library_window.h"

namespace klv::test {
namespace {

using namespace std::chrono_literals;

class Keyboard : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GE(open_window(40, 30, "keys", 0, 0, false, false), 0); }
    void TearDown() override { close_window(-2); }
    ui::Window* window() { return current_window_handle(); }
    // wait_key on another thread, as a program blocked in it.
    std::future<int> waiting_reader() {
        auto reader = std::async(std::launch::async, [] { return wait_key(); });
        std::this_thread::sleep_for(20ms);
        return reader;
    }
};

TEST_F(Keyboard, CharacterKeysGiveTheirCode) {
    auto reader = waiting_reader();
    ui::testing::type_character(window(), 'a');
    ASSERT_EQ(reader.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(reader.get(), 97);
}

TEST_F(Keyboard, ArrowKeysGiveZeroThenTheirCode) {
    auto reader = waiting_reader();
    ui::testing::press_key(window(), ui::VK_UP);
    ASSERT_EQ(reader.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(reader.get(), 0);
    EXPECT_EQ(wait_key(), 72);
}

TEST_F(Keyboard, KeysPressedBeforeTheWaitAreReturnedAtOnce) {
    ui::testing::press_key(window(), ui::VK_HOME);
    wait_idle();
    EXPECT_EQ(key_pressed(), 1);
    EXPECT_EQ(wait_key(), 0);
    EXPECT_EQ(wait_key(), 71);
    EXPECT_EQ(key_pressed(), 0);
}

// Every key that queues bytes wakes the reader, function keys included.
TEST_F(Keyboard, FunctionKeysWakeAWaitingReader) {
    auto reader = waiting_reader();
    ui::testing::press_key(window(), ui::VK_F1);
    ASSERT_EQ(reader.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(reader.get(), 0);
    EXPECT_EQ(wait_key(), 59);
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

// The hot-key poll against key presses made with xdotool.
#include "x11_test_support.hpp"
// After gtest: Xlib defines None and Bool.
#include <thread>

namespace mavorin::x11test {
namespace {

constexpr int kEnter = 13, kEscape = 27, kF5 = 116, kF6 = 117, kF12 = 123, kF13 = 124;

class X11KeyPoll : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!display_available()) GTEST_SKIP() << "no X server";
        dev = make_devices();
        ASSERT_TRUE(dev);
        // Presses from earlier tests are not ours to see.
        for (int vk : {kEnter, kEscape, kF5, kF6, kF12}) dev->get_async_key_state(vk);
    }
    void TearDown() override { shell("xdotool keyup F6 F12 2>/dev/null"); }
    // Polls like the 10 ms hot-key timer until the key reads `want` (at most two seconds).
    int16_t poll_until(int vk, int16_t want) {
        int16_t got = 0;
        wait_until(
            [&] {
                got = dev->get_async_key_state(vk);
                return got == want;
            },
            2);
        return got;
    }
    std::unique_ptr<DeviceServices> dev;
};

TEST_F(X11KeyPoll, AShortTapIsReportedOnceEvenAfterItsRelease) {
    shell("xdotool key F5");  // press and release before the next poll
    EXPECT_EQ(poll_until(kF5, -32767), -32767);
    EXPECT_EQ(dev->get_async_key_state(kF5), 0);

    shell("xdotool key Return");
    EXPECT_EQ(poll_until(kEnter, -32767), -32767);
    EXPECT_EQ(dev->get_async_key_state(kEnter), 0);
}

TEST_F(X11KeyPoll, AHeldKeyReadsPressedOnceThenDown) {
    shell("xdotool keydown F6");
    EXPECT_EQ(poll_until(kF6, -32767), -32767);
    // Held for longer than the poll trusts its own bookkeeping without asking the server.
    for (int i = 0; i < 15; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(dev->get_async_key_state(kF6), -32768) << "poll " << i;
    }
    shell("xdotool keyup F6");
    EXPECT_EQ(poll_until(kF6, 0), 0);
    EXPECT_EQ(dev->get_async_key_state(kF6), 0);
    // Pressed again: a new press.
    shell("xdotool key F6");
    EXPECT_EQ(poll_until(kF6, -32767), -32767);
}

TEST_F(X11KeyPoll, EveryKeyHasItsOwnPressedSincePoll) {
    shell("xdotool key F5 Escape");
    EXPECT_EQ(dev->get_async_key_state(kF12), 0);
    EXPECT_EQ(poll_until(kEscape, -32767), -32767);
    EXPECT_EQ(dev->get_async_key_state(kF5), -32767);
}

TEST_F(X11KeyPoll, AnOldTapOfAKeyNobodyPolledDoesNotCount) {
    // Escape tapped while only the start key is polled, as while no run is active...
    shell("xdotool key Escape");
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(dev->get_async_key_state(kF12), 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // ...must not stop a run that starts polling Escape much later.
    EXPECT_EQ(dev->get_async_key_state(kEscape), 0);
    // A key held since then still reads as pressed when first polled.
    shell("xdotool keydown F12");
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    EXPECT_EQ(dev->get_async_key_state(kF12), -32767);
    shell("xdotool keyup F12");
    EXPECT_EQ(poll_until(kF12, 0), 0);
}

TEST_F(X11KeyPoll, KeysTheKeyboardLacksAndUnknownCodesNeverReadPressed) {
    shell("xdotool keydown F6");
    for (int vk : {kF13, 0, 1, 255, 99999, -5}) EXPECT_EQ(dev->get_async_key_state(vk), 0) << vk;
    shell("xdotool keyup F6");
}

TEST_F(X11KeyPoll, KeysTypedByTheProgramCountAsPressesLikeOnWindows) {
    dev->send_keys("{F5}");
    EXPECT_EQ(poll_until(kF5, -32767), -32767);
}

}  // namespace
}  // namespace mavorin::x11test

// The core's timers on the Win32 message loop.
#include <gtest/gtest.h>

#include <vector>

#include "test_window.hpp"
#include "win32view/win32_event_loop.hpp"

namespace mavorin::win32 {
namespace {

using wintest::pump;
using wintest::pump_until;

TEST(Win32EventLoop, TimersTickInDeadlineOrderOnTheirAbsoluteSchedule) {
    Win32EventLoop loop;
    std::vector<std::string> ticks;
    std::vector<int64_t> deadlines;
    int once = 0;
    form::Timer slow(loop, "slow", 60), fast(loop, "fast", 10), one(loop, "one", 5),
        zero(loop, "zero", 0);
    slow.on_tick = [&] { ticks.push_back("slow"); };
    fast.on_tick = [&] {
        ticks.push_back("fast");
        deadlines.push_back(loop.tick_time());
        EXPECT_GE(loop.now_ms(), loop.tick_time());  // never early
    };
    one.on_tick = [&] {
        ++once;
        one.set_enabled(false);
    };
    zero.on_tick = [&] { ticks.push_back("zero"); };
    for (form::Timer* t : {&slow, &fast, &one, &zero}) t->set_enabled(true);
    ASSERT_TRUE(pump_until([&] { return std::count(ticks.begin(), ticks.end(), "slow") == 1; }));
    slow.set_enabled(false);
    fast.set_enabled(false);
    EXPECT_EQ(ticks.front(), "fast");
    EXPECT_EQ(std::count(ticks.begin(), ticks.end(), "zero"), 0);
    EXPECT_EQ(once, 1);
    ASSERT_GE(deadlines.size(), 2u);
    // Late ticks do not shift the phase: every deadline lies on the first one's grid.
    for (size_t i = 1; i < deadlines.size(); ++i) {
        EXPECT_GT(deadlines[i], deadlines[i - 1]);
        EXPECT_EQ((deadlines[i] - deadlines[0]) % 10, 0) << deadlines[i];
    }
    const size_t after_stop = ticks.size();
    pump(100);
    EXPECT_EQ(ticks.size(), after_stop);
    one.set_enabled(true);  // enabling again starts a fresh countdown
    EXPECT_TRUE(pump_until([&] { return once == 2; }, 1000));
}

}  // namespace
}  // namespace mavorin::win32

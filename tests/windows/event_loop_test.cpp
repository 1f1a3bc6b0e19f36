// The core's timers on the Win32 message loop.
#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/win32_platform.hpp"
#include "test_window.hpp"
#include "win32view/win32_event_loop.hpp"

namespace mavorin::win32 {
namespace {

using wintest::pump;
using wintest::pump_until;

TEST(Win32EventLoop, TimersTickOnTheMessageLoopInDeadlineOrder) {
    Win32EventLoop loop;
    std::vector<std::string> ticks;
    std::vector<int64_t> times;
    form::Timer slow(loop, "slow", 60, false), fast(loop, "fast", 10, false);
    slow.on_tick = [&] { ticks.push_back("slow"); };
    fast.on_tick = [&] {
        ticks.push_back("fast");
        times.push_back(loop.now_ms());
    };
    slow.set_enabled(true);
    fast.set_enabled(true);
    ASSERT_TRUE(pump_until([&] { return std::count(ticks.begin(), ticks.end(), "slow") >= 1; }));
    slow.set_enabled(false);
    fast.set_enabled(false);
    EXPECT_EQ(ticks.front(), "fast");
    EXPECT_GE(std::count(ticks.begin(), ticks.end(), "fast"), 2);
    for (size_t i = 1; i < times.size(); ++i) EXPECT_GT(times[i], times[i - 1]);
    const size_t after_stop = ticks.size();
    pump(100);
    EXPECT_EQ(ticks.size(), after_stop);
}

TEST(Win32EventLoop, OneShotZeroIntervalAndRestart) {
    Win32EventLoop loop;
    int once = 0, never = 0;
    form::Timer one_shot(loop, "one", 10, false), zero(loop, "zero", 0, false);
    one_shot.on_tick = [&] {
        ++once;
        one_shot.set_enabled(false);
    };
    zero.on_tick = [&] { ++never; };
    one_shot.set_enabled(true);
    zero.set_enabled(true);
    pump(150);
    EXPECT_EQ(once, 1);
    EXPECT_EQ(never, 0);
    // Enabling again starts a fresh countdown.
    one_shot.set_enabled(true);
    EXPECT_TRUE(pump_until([&] { return once == 2; }, 1000));
}

TEST(Win32EventLoop, ATickThatPumpsEventsLetsOtherTimersRun) {
    // As a fade does: the inner pass runs other due ticks before the outer tick returns.
    Win32EventLoop loop;
    Win32Platform platform;
    std::vector<std::string> order;
    form::Timer outer(loop, "outer", 10, false), inner(loop, "inner", 20, false);
    outer.on_tick = [&] {
        outer.set_enabled(false);
        order.push_back("outer begins");
        inner.set_enabled(true);
        for (int i = 0; i < 100 && order.size() < 2; ++i) {
            platform.process_pending_events();
            Sleep(5);
        }
        order.push_back("outer ends");
    };
    inner.on_tick = [&] {
        inner.set_enabled(false);
        order.push_back("inner");
    };
    outer.set_enabled(true);
    ASSERT_TRUE(pump_until([&] { return order.size() == 3; }));
    EXPECT_EQ(order, (std::vector<std::string>{"outer begins", "inner", "outer ends"}));
}

}  // namespace
}  // namespace mavorin::win32

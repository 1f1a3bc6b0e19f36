// The control model and the event loop: handler firing and timer order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "form/controls.hpp"
#include "form/event_loop.hpp"

using namespace mavorin::form;

TEST(Controls, AssignmentFiresOnlyOnChangeAndNestedCorrectionsSettle) {
    TextBox box("txt", "500");
    std::vector<std::string> seen;
    box.on_change = [&] {
        seen.push_back(box.text());
        if (box.text() == "70000") box.set_text("60000");  // a correction re-runs the handler
    };
    box.set_text("500");
    EXPECT_TRUE(seen.empty());
    box.set_text("70000");
    EXPECT_EQ(box.text(), "60000");
    EXPECT_EQ(seen, (std::vector<std::string>{"70000", "60000"}));
}

TEST(EventLoop, TimersTickInTimeOrderAndSkipMissedPeriods) {
    VirtualClock clock;
    std::vector<std::string> log;
    Timer fast(clock, "fast", 10, false), slow(clock, "slow", 25, false);
    fast.on_tick = [&] { log.push_back("f" + std::to_string(clock.now_ms())); };
    slow.on_tick = [&] {
        log.push_back("s" + std::to_string(clock.now_ms()));
        slow.set_enabled(false);
    };
    fast.set_enabled(true);
    slow.set_enabled(true);
    clock.advance(30);
    EXPECT_EQ(log, (std::vector<std::string>{"f10", "f20", "s25", "f30"}));

    fast.set_interval(0);  // never fires
    clock.advance(110);
    EXPECT_EQ(log.size(), 4u);

    // A late loop ticks once for what it missed, then keeps the old phase.
    log.clear();
    fast.set_interval(10);  // due at 150
    {
        EventLoop::Hold hold(clock);
        clock.advance(35);
    }
    clock.advance(10);
    EXPECT_EQ(log, (std::vector<std::string>{"f175", "f180"}));
}

// Transparency that follows the pointer.
#include <gtest/gtest.h>

#include "fixture.hpp"

namespace mavorin {
namespace {

class AppearanceTest : public testing::WindowTest {
  protected:
    void SetUp() override {
        platform.window = {1500, 1500, 6000, 4500};  // pixels 100..500 x 100..400 at 15 twips
        start();
        platform.clear_calls();
    }
    // Runs one tick with the pointer at p and returns the alphas it set.
    std::vector<int> tick_at(Point p) {
        platform.clear_calls();
        platform.cursor = p;
        clock.advance(10);
        std::vector<int> a;
        for (const auto& c : platform.calls_of("set_alpha")) a.push_back(std::stoi(c.args));
        return a;
    }
    static std::vector<int> fade(int from, int to) {
        std::vector<int> v;
        for (int a = from; from < to ? a <= to : a >= to; a += from < to ? 2 : -2) v.push_back(a);
        return v;
    }
};

TEST_F(AppearanceTest, FadesOnTheEdgeAndOutsideAndSwitchingOffKeepsTheAlpha) {
    w->chk_0_transparenz.set_value(1);
    EXPECT_EQ(tick_at({50, 50}), fade(255, 81));
    EXPECT_TRUE(tick_at({50, 50}).empty());  // still outside: nothing more
    EXPECT_EQ(tick_at({300, 200}), fade(80, 254));
    for (const Point& p : {Point{100, 200}, Point{500, 200}, Point{300, 100}, Point{300, 400}}) {
        EXPECT_EQ(tick_at(p).size(), 88u) << p.x << "," << p.y;
        EXPECT_EQ(tick_at({300, 200}).size(), 88u);
    }
    EXPECT_TRUE(tick_at({101, 399}).empty());  // just inside
    tick_at({100, 200});
    w->chk_0_transparenz.set_value(0);
    platform.cursor = {300, 200};
    clock.advance(100);
    EXPECT_EQ(platform.alpha, 81);
}

TEST_F(AppearanceTest, ATickDuringAFadeOutCanFadeBackIn) {
    // The toolkit delivers a tick inside the second pass of the event queue, with the pointer
    // back inside: a whole fade in runs there, then the fade out finishes.
    int passes = 0;
    platform.on_call = [&](const PlatformCall& c) {
        if (c.op == "process_pending_events" && ++passes == 2) {
            platform.cursor = {300, 200};
            w->appearance.Timer_transparenz_Timer();
        }
    };
    w->chk_0_transparenz.set_value(1);
    const std::vector<int> a = tick_at({50, 50});
    platform.on_call = nullptr;
    std::vector<int> expected = {255};
    for (const auto& part : {fade(80, 254), fade(253, 81)})
        expected.insert(expected.end(), part.begin(), part.end());
    EXPECT_EQ(a, expected);
    EXPECT_EQ(tick_at({300, 200}), fade(80, 254));  // the pointer is inside: fade in again
}

}  // namespace
}  // namespace mavorin

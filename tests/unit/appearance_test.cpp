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
    std::vector<int> alphas() {
        std::vector<int> a;
        for (const auto& c : platform.calls_of("set_alpha")) a.push_back(std::stoi(c.args));
        return a;
    }
    // Runs one tick with the pointer at p and returns the alphas it set.
    std::vector<int> tick_at(Point p) {
        platform.clear_calls();
        platform.cursor = p;
        clock.advance(10);
        return alphas();
    }
    static std::vector<int> fade(int from, int to) {
        std::vector<int> v;
        for (int a = from; from < to ? a <= to : a >= to; a += from < to ? 2 : -2) v.push_back(a);
        return v;
    }
};

TEST_F(AppearanceTest, FadesOutsideAndBackInside) {
    w->chk_0_transparenz.set_value(1);
    EXPECT_EQ(tick_at({50, 50}), fade(255, 81));
    EXPECT_EQ(platform.calls_of("process_pending_events").size(), 88u);
    EXPECT_EQ(w->transparent_aktiv, -1);
    EXPECT_TRUE(tick_at({50, 50}).empty());  // still outside: nothing more

    EXPECT_EQ(tick_at({300, 200}), fade(80, 254));
    EXPECT_EQ(w->transparent_aktiv, 0);
    EXPECT_EQ(platform.calls_of("make_layered").size(), 1u);
}

TEST_F(AppearanceTest, TheRectangleEdgeCountsAsOutsideAndSwitchingOffKeepsTheAlpha) {
    w->chk_0_transparenz.set_value(1);
    const Point edges[] = {{100, 200}, {500, 200}, {300, 100}, {300, 400}};
    for (const Point& p : edges) {
        SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
        EXPECT_EQ(tick_at(p).size(), 88u);
        EXPECT_EQ(w->transparent_aktiv, -1);
        EXPECT_EQ(tick_at({300, 200}).size(), 88u);
    }
    EXPECT_TRUE(tick_at({101, 399}).empty());  // just inside

    tick_at({100, 200});
    w->chk_0_transparenz.set_value(0);
    platform.cursor = {300, 200};
    clock.advance(100);
    EXPECT_EQ(platform.alpha, 81);
    EXPECT_FALSE(w->Timer_transparenz.enabled());
}

TEST_F(AppearanceTest, TheRectangleIsRoundedHalfToEven) {
    // 2 twips per pixel: left 201 twips is 100.5 pixels, which rounds to 100; the width of 401
    // twips gives a right edge of 300.5, which rounds to 300.
    w->twips_x = 2;
    w->twips_y = 2;
    platform.window = {201, 201, 401, 401};
    w->transparent_aktiv = -1;
    w->chk_0_transparenz.set_value(1);
    EXPECT_EQ(tick_at({101, 200}), fade(80, 254));  // inside only if left rounds down
    EXPECT_EQ(tick_at({300, 200}), fade(255, 81));  // on the right edge only if right rounds down
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
    EXPECT_EQ(w->transparent_aktiv, -1);
    EXPECT_EQ(platform.calls_of("make_layered").size(), 2u);
    EXPECT_EQ(tick_at({300, 200}), fade(80, 254));  // the pointer is inside: fade in again
}

}  // namespace
}  // namespace mavorin

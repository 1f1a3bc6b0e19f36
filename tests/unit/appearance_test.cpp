// Transparency that follows the pointer, always on top, the logo link.
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
    // First and last alpha set since the calls were cleared, -1 when none was.
    int first_alpha() {
        auto a = alphas();
        return a.empty() ? -1 : a.front();
    }
    int last_alpha() {
        auto a = alphas();
        return a.empty() ? -1 : a.back();
    }
};

TEST_F(AppearanceTest, FadesOutsideAndBackInside) {
    platform.cursor = {50, 50};
    w->chk_0_transparenz.set_value(1);
    clock.advance(10);
    auto a = alphas();
    ASSERT_EQ(a.size(), 88u);
    EXPECT_EQ(a.front(), 255);
    EXPECT_EQ(a.back(), 81);
    EXPECT_EQ(a[1], 253);
    EXPECT_EQ(platform.calls_of("process_pending_events").size(), 88u);
    EXPECT_EQ(w->transparent_aktiv, -1);
    clock.advance(50);
    EXPECT_EQ(alphas().size(), 88u);  // still outside: nothing more

    platform.clear_calls();
    platform.cursor = {300, 200};
    clock.advance(10);
    a = alphas();
    ASSERT_EQ(a.size(), 88u);
    EXPECT_EQ(a.front(), 80);
    EXPECT_EQ(a.back(), 254);
    EXPECT_EQ(w->transparent_aktiv, 0);
    EXPECT_EQ(platform.calls_of("make_layered").size(), 1u);
}

TEST_F(AppearanceTest, TheEdgeCountsAsOutsideAndSwitchingOffKeepsTheAlpha) {
    platform.cursor = {100, 200};  // the left edge column
    w->chk_0_transparenz.set_value(1);
    clock.advance(10);
    EXPECT_EQ(last_alpha(), 81);
    w->chk_0_transparenz.set_value(0);
    platform.cursor = {300, 200};
    clock.advance(100);
    EXPECT_EQ(platform.alpha, 81);
    EXPECT_FALSE(w->Timer_transparenz.enabled());
}

TEST_F(AppearanceTest, AlwaysOnTopAndLogo) {
    w->chk_0_vordergrund.set_value(1);
    EXPECT_TRUE(platform.topmost);
    w->chk_0_vordergrund.set_value(0);
    EXPECT_FALSE(platform.topmost);
    w->img_vantrellogo.click();
    ASSERT_EQ(platform.calls_of("open_with_default_handler").size(), 1u);
    EXPECT_EQ(platform.calls_of("open_with_default_handler")[0].args, kHomePage);
}

TEST_F(AppearanceTest, EveryEdgeCountsAsOutside) {
    // Pixels 100..500 x 100..400: each point on the rectangle's border fades the window out.
    const Point edges[] = {{100, 200}, {500, 200}, {300, 100}, {300, 400}};
    for (const Point& p : edges) {
        SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
        platform.cursor = {300, 200};
        w->transparent_aktiv = -1;
        w->chk_0_transparenz.set_value(1);
        clock.advance(10);  // inside: fade in
        platform.clear_calls();
        platform.cursor = p;
        clock.advance(10);
        EXPECT_EQ(alphas().size(), 88u);
        EXPECT_EQ(w->transparent_aktiv, -1);
        w->chk_0_transparenz.set_value(0);
    }
    platform.clear_calls();
    platform.cursor = {101, 399};  // just inside
    w->chk_0_transparenz.set_value(1);
    clock.advance(10);
    EXPECT_EQ(first_alpha(), 80);
}

TEST_F(AppearanceTest, TheRectangleIsRoundedHalfToEven) {
    // 2 twips per pixel: left 201 twips is 100.5 pixels, which rounds to 100; the width of 401
    // twips gives a right edge of 300.5, which rounds to 300.
    w->twips_x = 2;
    w->twips_y = 2;
    platform.window = {201, 201, 401, 401};
    platform.cursor = {101, 200};  // inside only if left rounds down
    w->transparent_aktiv = -1;
    w->chk_0_transparenz.set_value(1);
    clock.advance(10);
    EXPECT_EQ(first_alpha(), 80);
    EXPECT_EQ(w->transparent_aktiv, 0);
    platform.clear_calls();
    platform.cursor = {300, 200};  // on the right edge only if right rounds down
    clock.advance(10);
    EXPECT_EQ(first_alpha(), 255);
    EXPECT_EQ(w->transparent_aktiv, -1);
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
    platform.cursor = {50, 50};
    w->chk_0_transparenz.set_value(1);
    clock.advance(10);
    platform.on_call = nullptr;
    std::vector<int> expected = {255};
    for (int a = 80; a <= 254; a += 2) expected.push_back(a);
    for (int a = 253; a >= 81; a -= 2) expected.push_back(a);
    EXPECT_EQ(alphas(), expected);
    EXPECT_EQ(w->transparent_aktiv, -1);
    EXPECT_EQ(platform.calls_of("make_layered").size(), 2u);
    platform.clear_calls();
    clock.advance(10);  // the pointer is inside: fade in again
    EXPECT_EQ(last_alpha(), 254);
    EXPECT_EQ(w->transparent_aktiv, 0);
}

TEST_F(AppearanceTest, OtherModesOnlyMakeTheWindowLayered) {
    for (int16_t mode : {int16_t{2}, int16_t{-1}}) w->appearance.fenster_transparenz(mode);
    EXPECT_EQ(platform.calls_of("make_layered").size(), 2u);
    EXPECT_TRUE(alphas().empty());
    EXPECT_EQ(w->transparent_aktiv, 0);
}

}  // namespace
}  // namespace mavorin

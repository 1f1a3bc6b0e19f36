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
    EXPECT_EQ(alphas().back(), 81);
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

}  // namespace
}  // namespace mavorin

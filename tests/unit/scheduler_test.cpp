// The driver and the step timer: passes, pauses, the random pause, and steps that fail.
#include <gtest/gtest.h>

#include <stdexcept>

#include "engine_fixture.hpp"

namespace mavorin {
namespace {

class SchedulerTest : public testing::MacroRun {};

TEST_F(SchedulerTest, TheLoopValueGivesItsPassesAndTheSettingsRecordNeverRuns) {
    // loop value -> times of the one command; the run ends in the tick of the last step.
    const std::vector<std::pair<int, std::vector<int64_t>>> cases = {
        {0, {110}}, {-3, {110}}, {2, {110, 210, 310}}};
    for (const auto& [loop, want] : cases) {
        restart_window();
        run({settings(100, loop), "code:|002|xpos:|4|ypos:|2|"});
        const int64_t t0 = clock.now_ms();
        clock.advance(2000);
        std::vector<int64_t> got;
        for (int64_t t : times("set_cursor_pos")) got.push_back(t - t0);
        EXPECT_EQ(got, want) << "loop " << loop;
        EXPECT_EQ(times("block_input"), (std::vector<int64_t>{t0 + want.back()})) << loop;
        EXPECT_FALSE(w->running());
        EXPECT_EQ(w->durchlauf, (loop < 0 ? 0 : loop) + 1);
    }
}

TEST_F(SchedulerTest, RandomPauseLengthensOnlyTheGapAfterIt) {
    platform.random_values = {0.5, 0.999};
    run({settings(100, 1), "code:|002|xpos:|1|ypos:|1|", "code:|001|wait:|100|maxwait:|300|",
         "code:|002|xpos:|2|ypos:|2|", "code:|002|xpos:|3|ypos:|3|"});
    clock.advance(5000);
    // Pass 1: extra 100 + 0.5 * 200 = 200. Pass 2: 100 + floor(0.999 * 200) = 299, so the
    // step lands off the driver's 10 ms grid and the one after it waits for the next tick.
    EXPECT_EQ(times("set_cursor_pos"), (std::vector<int64_t>{110, 510, 610, 710, 1209, 1310}));
    EXPECT_EQ(times("seed_random"), (std::vector<int64_t>{210, 810}));  // before every draw
    EXPECT_EQ(w->lbl_hscaktuell.caption(), "0");                        // stopped
}

TEST_F(SchedulerTest, RandomBoundsAreNormalisedAndTheShortFormIgnoresOldUpperBounds) {
    run({settings(100, 0), "code:|001|wait:|300|maxwait:|100|", "code:|002|xpos:|1|ypos:|1|",
         "code:|001|wait:|100|", "code:|002|xpos:|2|ypos:|2|", "code:|001|wait:|-5|maxwait:|70000|",
         "code:|002|xpos:|3|ypos:|3|"});
    w->befehl_wert2[3] = "5000";  // left over from an earlier record in that slot
    platform.random_values = {0.25, 0.25};
    clock.advance(40000);
    // Upper below lower: exactly 300; short form: exactly 100; bounds 0..60000 at r = 0.25.
    EXPECT_EQ(times("set_cursor_pos"), (std::vector<int64_t>{110 + 400, 610 + 200, 910 + 15100}));
    EXPECT_EQ(times("seed_random"), (std::vector<int64_t>{610, 910}));  // 300/100 draws nothing
    EXPECT_EQ(w->befehl_wert1[5], "0");
    EXPECT_EQ(w->befehl_wert2[5], "60000");
    EXPECT_EQ(w->befehl[5], "code:|001|wait:|-5|maxwait:|70000|");  // the record is untouched
}

TEST_F(SchedulerTest, StoppingDuringAPauseDropsThePendingStep) {
    run({settings(500, 3), "code:|004|text:|a|", "code:|004|text:|b|"});
    clock.advance(800);  // "a" at 510, "b" pending for 1010
    w->cmd_start.click();
    clock.advance(3000);
    EXPECT_EQ(trace(), (std::vector<std::string>{"510 send_keys a"}));
    EXPECT_FALSE(w->Timer_start.enabled());
}

TEST_F(SchedulerTest, ListRefreshFollowsTheCheckBoxWhileTheLabelShowsEveryIndex) {
    for (int shown : {1, 0}) {
        restart_window();
        build({settings(100, 1), "code:|002|xpos:|1|ypos:|1|", "code:|002|xpos:|2|ypos:|2|"});
        w->chk_0_listbox.set_value(shown);
        testing::ChangeLog log;
        log.watch(w->lbl_hscaktuell);
        w->cmd_start.click();
        clock.advance(150);  // command 1 ran
        const std::string before = w->lst_code.items().at(2);
        w->befehl[2] = "code:|002|xpos:|7|ypos:|7|";
        clock.advance(100);  // command 2 ran
        EXPECT_EQ(w->lst_code.items().at(2) != before, shown == 1) << shown;
        clock.advance(1000);
        EXPECT_EQ(log.entries, (std::vector<std::string>{"1", "2", "1", "2", "0"})) << shown;
        w->lbl_hscaktuell.set_observer(nullptr);
    }
}

TEST_F(SchedulerTest, OutOfRangeCodesRunAsAZeroPause) {
    run({settings(100, 0), "code:|011|wait:|0|", "code:|002|xpos:|1|ypos:|1|"});
    EXPECT_EQ(w->befehl[1], "code:|001|wait:|0|");
    clock.advance(1000);
    EXPECT_EQ(trace(), (std::vector<std::string>{"210 set_cursor_pos 1 1", "210 block_input 0"}));
}

// A desktop whose keystroke and clipboard calls fail.
class FailingPlatform : public RecordingPlatform {
  public:
    using RecordingPlatform::RecordingPlatform;
    void send_keys(const std::string& text) override {
        RecordingPlatform::send_keys(text);
        throw std::runtime_error("no keyboard");
    }
    void clipboard_set_text(const std::string& text) override {
        RecordingPlatform::clipboard_set_text(text);
        throw std::runtime_error("clipboard busy");
    }
};

TEST(SchedulerFailures, AFailingActionSkipsOnlyItselfAndTheStepEnds) {
    testing::TempFolder dir;
    form::VirtualClock clock;
    FailingPlatform platform(clock, dir.path());
    dir.write("m.mvn",
              ".mvn 0000\r\ncode:|000|wait:|100|loop:|0|start:|no|stop:|ESC|"
              "\r\ncode:|004|text:|x|\r\ncode:|005|start:|1|step:|1|\r\n"
              "code:|002|xpos:|5|ypos:|5|\r\n");
    platform.cmdline = "\"" + dir.file("m.mvn") + "\"";
    frm_mavorin w(platform, clock);
    w.startup.Form_Load();
    clock.advance(250);
    EXPECT_EQ(w.lbl_hscaktuell.caption(), "2");
    clock.advance(1000);
    std::vector<int64_t> t;
    for (const auto& c : platform.calls)
        if (c.op == "send_keys" || c.op == "clipboard_set" || c.op == "set_cursor_pos")
            t.push_back(c.ms);
    // The next command follows on time, so each failing step disabled its timer.
    EXPECT_EQ(t, (std::vector<int64_t>{110, 210, 310}));
    EXPECT_FALSE(w.running());
}

}  // namespace
}  // namespace mavorin

// The execution engine on the virtual clock: passes and pauses, starting and stopping, the hot
// keys, single commands from the list, and what each command does on the desktop.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "engine/input_actions.hpp"
#include "engine/screen_actions.hpp"
#include "fixture.hpp"

namespace mavorin {
namespace {

using Ops = std::vector<std::string>;
using Times = std::vector<int64_t>;

// A macro run and the desktop operations it produced with their times.
class MacroRun : public testing::WindowTest {
  protected:
    // An approved macro file named on the command line: loaded and started at t = 0.
    void run(const std::vector<std::string>& records) {
        write_macro("m.mvn", ".mvn 0000", records);
        trust("m.mvn");
        platform.cmdline = "\"" + dir.file("m.mvn") + "\"";
        start();
    }
    // The records as if the user had built them, not running.
    void build(const std::vector<std::string>& records) {
        start();
        for (size_t i = 0; i < records.size(); ++i) w->befehl[i] = records[i];
        w->befehl_anzahl = static_cast<int>(records.size()) - 1;
        w->command_list.befehlsliste();
    }
    // Types into a box the way loading does, without rebuilding the record.
    void show(form::TextBox& box, const std::string& text) {
        w->laden = true;
        box.set_text(text);
        w->laden = false;
    }
    static std::string settings(int wait, int loop) {
        return "code:|000|wait:|" + std::to_string(wait) + "|loop:|" + std::to_string(loop) +
               "|start:|no|stop:|ESC|";
    }
    // Desktop operations as "<ms> <op> <args>", times counted from `origin`.
    Ops trace(int64_t origin = 0) const {
        Ops out;
        for (const auto& c : platform.calls) {
            if (!is_desktop_operation(c.op)) continue;
            out.push_back(std::to_string(c.ms - origin) + " " + c.op + (c.args.empty() ? "" : " ") +
                          c.args);
        }
        return out;
    }
    Times times(const std::string& op) const {
        Times t;
        for (const auto& c : platform.calls_of(op)) t.push_back(c.ms);
        return t;
    }
    Ops args(const std::string& op) const {
        Ops a;
        for (const auto& c : platform.calls_of(op)) a.push_back(c.args);
        return a;
    }
};

class RunTest : public MacroRun {
  protected:
    // Every control the user edits with: all but labels, menus, pictures and the start button.
    std::vector<form::Control*> lockable() {
        std::vector<form::Control*> v;
        for (form::Control* c : w->all_controls()) {
            const bool arrow = c == &w->img_befehl_left || c == &w->img_befehl_right;
            if (dynamic_cast<form::Label*>(c) || dynamic_cast<form::Form*>(c) ||
                dynamic_cast<form::MenuItem*>(c) || dynamic_cast<form::PopupMenu*>(c) ||
                (dynamic_cast<form::Image*>(c) && !arrow) || c == &w->cmd_start ||
                c == &w->com_code0)
                continue;
            v.push_back(c);
        }
        return v;
    }
};

TEST_F(RunTest, StartLocksTheEditorAndStopDuringAPauseRestoresIt) {
    run({settings(1000, 3), "code:|002|xpos:|1|ypos:|1|", "code:|002|xpos:|2|ypos:|2|"});
    ASSERT_GT(lockable().size(), 30u);
    for (form::Control* c : lockable()) EXPECT_FALSE(c->enabled()) << c->name();
    EXPECT_EQ(w->cmd_start.caption(), "ESC=Stop");
    clock.advance(2500);                         // two steps done, a third pending
    std::filesystem::remove(dir.file("m.mvn"));  // "Laden" needs the file
    w->cmd_start.click();                        // the caption is not "Start": this stops
    clock.advance(5000);
    EXPECT_EQ(times("set_cursor_pos"), (Times{1010, 2010}));
    for (form::Control* c : lockable()) {
        // No CD drive: its controls stay off.
        const bool off = c == &w->cmd_load || c == &w->com_8_laufwerk || c == &w->com_8_move;
        EXPECT_EQ(c->enabled(), !off) << c->name();
    }
    EXPECT_EQ(w->cmd_start.caption(), "Start");
    EXPECT_EQ(w->lbl_hscaktuell.caption(), "0");
}

TEST_F(RunTest, PauseComesFromTheSettingsRecordWhileTheBoxIsCorrected) {
    // Box 5, record 0: the box shows 10, the run uses the record raised to 10 ms.
    build({settings(0, 0), "code:|002|xpos:|1|ypos:|1|", "code:|002|xpos:|2|ypos:|2|"});
    show(w->txt_0_wait, "5");
    show(w->txt_0_loop, "-4");
    w->cmd_start.click();
    EXPECT_EQ(w->txt_0_wait.text() + w->txt_0_loop.text(), "100");
    clock.advance(200);
    // At 10 ms the driver's tick falls on the step's own tick and comes first, so every later
    // command waits one driver period more.
    EXPECT_EQ(trace(), (Ops{"20 set_cursor_pos 1 1", "40 set_cursor_pos 2 2", "50 block_input 0"}));
}

TEST_F(RunTest, HotKeysActOnlyOnAFreshPress) {
    start();
    // Start key "no" polls F13 (124); the abort key is not polled while idle.
    clock.advance(30);
    EXPECT_EQ(args("key_state"), (Ops{"124", "124", "124"}));

    w->com_0_startcode.set_text("F2");
    w->com_0_abbruchcode.set_text("ESC");
    // Held, or pressed and let go before the poll: no start.
    platform.key_states[0x71] = {kKeyHeld, kKeyTappedAndLetGo, kKeyTapped};
    clock.advance(20);
    EXPECT_FALSE(w->running());
    clock.advance(10);
    ASSERT_TRUE(w->running());

    // While running only the abort key is polled, with the same rule: held since before the
    // start, or let go again, it does not stop the run.
    platform.clear_calls();
    platform.key_states[0x1B] = {kKeyHeld, kKeyHeld, kKeyTappedAndLetGo, kKeyTapped};
    clock.advance(30);
    EXPECT_TRUE(w->running());
    EXPECT_EQ(args("key_state"), (Ops{"27", "27", "27"}));
    clock.advance(10);
    EXPECT_FALSE(w->running());

    // A new press after the run starts another one.
    platform.key_states[0x71] = {kKeyUp, kKeyTapped};
    clock.advance(20);
    EXPECT_TRUE(w->running());
}

// --start and --abort: each is a tap of its key, seen by that key's next poll.
TEST_F(RunTest, StartAndAbortRequestsActAsTheHotKeys) {
    build({settings(100, 5), "code:|002|xpos:|1|ypos:|1|", "code:|004|text:|abc|"});
    w->befehl_aktuell = 1;
    w->run.abort_requested();  // idle: the abort key is not polled, nothing is stopped
    clock.advance(30);
    EXPECT_EQ(w->befehl_aktuell, 1);
    // ... and the request is gone: it does not cut a later single command's typing short.
    platform.typing_chunk = 1;
    w->lst_code.set_list_index(2);
    w->lst_code.on_dbl_click();
    clock.advance(1000);
    ASSERT_FALSE(platform.typed.empty());
    EXPECT_EQ(platform.typed.back(), "abc");
    w->run.start_requested();  // the start key is "no": a request still starts
    clock.advance(10);
    ASSERT_TRUE(w->running());
    w->run.start_requested();  // running: the start key is not polled
    clock.advance(30);
    EXPECT_TRUE(w->running());
    w->run.abort_requested();
    clock.advance(10);
    EXPECT_FALSE(w->running());
}

// Keys tapped at given times; a poll may be skipped while it would see no tap.
struct TimedKeys : RecordingPlatform {
    TimedKeys(const form::VirtualClock& c, const std::string& dir)
        : RecordingPlatform(c, dir), clock(c) {}
    const form::VirtualClock& clock;
    std::vector<std::pair<int, int64_t>> taps;
    std::map<int, int64_t> polled;
    int polls = 0;  // of the hot keys
    KeyState key_state(int vk) override {
        const KeyState k = key_state_settled(vk) ? kKeyUp : kKeyTapped;
        polls += vk != 13;
        polled[vk] = clock.now_ms();
        return k;
    }
    bool key_state_settled(int vk) override {
        return std::none_of(taps.begin(), taps.end(), [&](auto t) {
            return t.first == vk && t.second > polled[vk] && t.second <= clock.now_ms();
        });
    }
};

TEST_F(MacroRun, SleepingThroughSettledHotKeyPollsChangesNothingVisible) {
    auto session = [&](bool skip) {
        form::VirtualClock clock;
        clock.set_skip_idle(skip);
        TimedKeys keys(clock, dir.path());
        frm_mavorin w(keys, clock);
        w.startup.Form_Load();
        w.com_0_startcode.set_text("F2");
        for (int i = 0; i < 3; ++i)
            w.befehl[i] = i ? "code:|002|xpos:|1|ypos:|1|" : settings(100, 1);
        // Start, a key that starts nothing, a run aborted by ESC, then Enter on the position panel.
        for (auto [at, vk] : std::vector<std::pair<int, int>>{
                 {1003, 0x71}, {1505, 'A'}, {2507, 0x71}, {2655, 0x1B}, {4503, 13}}) {
            clock.advance(at - clock.now_ms());
            keys.taps.emplace_back(vk, at);
            keys.cursor = {at, 7};
            if (vk == 13)
                w.befehl_aktuell = 1, w.records.befehl_aktuellencode(), w.panels.codesichtbar();
            clock.wake();
        }
        clock.advance(1000);
        Ops seen{w.txt_2_x.text()};
        for (const auto& c : keys.calls) seen.push_back(std::to_string(c.ms) + c.op + c.args);
        return std::pair(seen, keys.polls);
    };
    const auto [every, every_polls] = session(false);
    const auto [skipped, skipped_polls] = session(true);
    EXPECT_EQ(skipped, every);
    EXPECT_EQ(every[0], "4503");  // Enter took the position
    EXPECT_LT(skipped_polls * 5, every_polls);
}

TEST_F(RunTest, DoubleClickRunsOneCommandOnly) {
    build({settings(250, 5), "code:|002|xpos:|5|ypos:|6|", "code:|007|pc:|input-enable|",
           "code:|010|xpos:|1|ypos:|1|break:|1|", "code:|007|pc:|lockpc|",
           "code:|007|pc:|shutdown|", "code:|007|pc:|reboot|"});
    const std::string ask = "0 message_box Möchten Sie diesen Befehl wirklich ausführen?";
    // The trace counts from the double click; shutting down and rebooting ask first.
    // Line, pause box, answer, trace.
    const std::tuple<int, const char*, int, Ops> cases[] = {
        {1, "0", kIdYes, {"10 set_cursor_pos 5 6"}},   // once, no driver; below 1: 10 ms
        {2, "250", kIdYes, {}},                        // input commands never run singly
        {3, "250", kIdYes, {}},                        // nor the pixel watch
        {4, "250", kIdYes, {"100 lock_workstation"}},  // PC commands after 100 ms
        {5, "250", kIdNo, {ask}},
        {6, "250", kIdYes, {ask, "100 reboot", "100 message_box reboot"}}};
    for (const auto& [line, wait_box, answer, want] : cases) {
        show(w->txt_0_wait, wait_box);
        platform.message_box_answers = {answer};
        platform.clear_calls();
        const int64_t t = clock.now_ms();
        w->lst_code.set_list_index(line);
        w->lst_code.on_dbl_click();
        clock.advance(1000);
        EXPECT_EQ(trace(t), want) << "line " << line;
        EXPECT_FALSE(w->running());
    }
}

TEST_F(RunTest, RandomBoundsAreNormalisedAndTheShortFormIgnoresOldUpperBounds) {
    run({settings(100, 0), "code:|001|wait:|300|maxwait:|100|", "code:|002|xpos:|1|ypos:|1|",
         "code:|001|wait:|100|", "code:|002|xpos:|2|ypos:|2|", "code:|001|wait:|-5|maxwait:|70000|",
         "code:|002|xpos:|3|ypos:|3|"});
    w->befehl_wert2[3] = "5000";  // left over from an earlier record in that slot
    platform.random_values = {0.25, 0.25};
    clock.advance(40000);
    // Upper below lower: exactly 300; short form: exactly 100; bounds 0..60000 at r = 0.25.
    EXPECT_EQ(times("set_cursor_pos"), (Times{110 + 400, 610 + 200, 910 + 15100}));
    EXPECT_EQ(times("seed_random"), (Times{610, 910}));             // 300/100 draws nothing
    EXPECT_EQ(w->befehl[5], "code:|001|wait:|-5|maxwait:|70000|");  // the record is untouched
}

class ActionsTest : public MacroRun {};

TEST(TypedText, IsEscapedThenModifiedThenGivenTheCounter) {
    // Case matters.
    const std::vector<std::pair<std::string, std::string>> table = {
        {"{SHIFT}a (1+1){ENTER}", "+a {(}1{+}1{)}{ENTER}"},
        {"{ALTGR}q", "^%q"},
        {"Nr. {CODE5}", "Nr. 8"},
        {"{code5}^~", "8{^}{~}"},
        {"{CTRL}c{ALT}{F4}", "^c%{F4}"},
        {"{shift}x", "{shift}x"}};
    for (const auto& [stored, sent] : table) EXPECT_EQ(keystroke_text(stored, "8"), sent) << stored;
    // The counter goes in last: its characters are not escaped.
    EXPECT_EQ(keystroke_text("{CODE5}", "-1+2"), "-1+2");
}

TEST_F(ActionsTest, CounterIsClampedAndWrittenWithFifteenDigitsAtMost) {
    const std::vector<std::pair<std::string, Ops>> cases = {
        {"99999999999990|step:|7", {"99999999999990", "99999999999997", "99999999999999"}},
        {"-99999999999998|step:|-1.5", {"-99999999999998", "-99999999999999", "-99999999999999"}}};
    for (const auto& [values, want] : cases) {
        platform.clear_calls();
        w = std::make_unique<frm_mavorin>(platform, clock);
        run({settings(10, 2), "code:|005|start:|" + values + "|"});
        clock.advance(1000);
        EXPECT_EQ(args("clipboard_set"), want) << values;
    }
}

TEST_F(ActionsTest, ProgramsPcCommandsAndTheCdDoor) {
    platform.roots = {"D:\\"};
    platform.drive_types = {{"D:\\", kDriveCdrom}};
    run({settings(100, 0), "code:|005|start:|42|step:|1|", "code:|006|pfad:|/opt/run {CODE5}|",
         "code:|006|pfad:|x{code5}.sh|", "code:|007|pc:|LOCKPC|", "code:|007|pc:|lockpc|",
         "code:|007|pc:|reboot|", "code:|007|pc:|shutdown|", "code:|007|pc:|screenoff|",
         "code:|007|pc:|input-disable|", "code:|007|pc:|input-enable|", "code:|007|pc:|sleep|",
         "code:|008|drive:|D:\\|move:|open|", "code:|008|drive:|E:\\|move:|close|",
         "code:|008|drive:|D:\\|move:|Close|"});
    clock.advance(2000);
    // PC command words are exact: "LOCKPC" and "sleep" do nothing. "Close" is not "close".
    const Ops ops = trace();
    ASSERT_EQ(ops.size(), 14u);
    EXPECT_EQ(Ops(ops.begin(), ops.begin() + 10),
              (Ops{"110 clipboard_set 42", "210 run_program /opt/run 42", "310 run_program x42.sh",
                   "510 lock_workstation", "610 reboot", "610 message_box reboot", "710 shutdown",
                   "810 monitor_off", "910 block_input 1", "1010 block_input 0"}));
    EXPECT_EQ(Ops(ops.begin() + 10, ops.end()),
              (Ops{"1210 cd_door D:\\ open", "1310 cd_door E:\\ close", "1410 cd_door D:\\ open",
                   "1410 block_input 0"}));
}

TEST(ScreenshotPath, NameQualityAndFormat) {
    // Only the first "<" counts; the quality is read from its next three characters, blanks as
    // nothing, kept within 10..100 and 0 meaning 100. Only a lower-case ".jpg" ending is JPEG.
    const char* rows[][2] = {{"/a.jpg <75%>", "/a.jpg jpeg 75"},
                             {"/a.jpg <0>", "/a.jpg jpeg 100"},
                             {"/a.jpg < 60%>", "/a.jpg jpeg 60"},
                             {"/a.jpg <99.9%>", "/a.jpg jpeg 99"},
                             {"a.jpg <90%> <20%>", "a.jpg jpeg 90"},
                             {"/a.JPG", "/a.JPG bmp"},
                             {"<90%>", " bmp"}};
    for (const auto& [path, want] : rows) {
        const ScreenshotTarget t = screenshot_target(path);
        EXPECT_TRUE(t.save) << path;
        EXPECT_EQ(t.file + (t.jpeg ? " jpeg " + std::to_string(t.quality) : " bmp"), want) << path;
    }
    EXPECT_FALSE(screenshot_target("abc").save);
}

TEST_F(ActionsTest, AFailedJpegIsReportedAndDoesNotStopTheRun) {
    platform.jpeg_status = 7;
    run({settings(100, 0), "code:|009|pfad:|shot.jpg <75%>|", "code:|002|xpos:|1|ypos:|1|"});
    clock.advance(150);
    EXPECT_EQ(w->lbl_hscaktuell.caption(), "1");  // the step ended as usual
    clock.advance(1000);
    EXPECT_EQ(times("set_cursor_pos"), (Times{210}));
    try {
        w->screen.Save_JPG(w->pic_screenshot, "y.jpg", 80);
        ADD_FAILURE() << "no error";
    } catch (const SaveJpgError& e) {
        EXPECT_EQ(std::string(e.what()), "Speicherung des Bildes fehlgeschlagen. GDI+ Error:7");
    }
}

TEST_F(ActionsTest, AWatchThatSeesNoChangeLeavesTheWindowAlone) {
    // The view redraws what changed: showing the same line and panel again on every poll must
    // not count as a change, or a watch would redraw the window a hundred times a second.
    struct Counter : form::ControlObserver {
        std::map<std::string, int> changed;
        void control_changed(form::Control& c) override { ++changed[c.name()]; }
    } counter;
    run({settings(10, 0), "code:|010|xpos:|10|ypos:|10|break:|0|", "code:|002|xpos:|1|ypos:|1|"});
    clock.advance(100);
    for (form::Control* c : w->all_controls()) c->set_observer(&counter);
    const size_t polls = times("capture_screen").size();
    clock.advance(1000);
    EXPECT_GT(times("capture_screen").size(), polls + 40);
    EXPECT_EQ(counter.changed, (std::map<std::string, int>{}));
    EXPECT_TRUE(w->txt_10_x.visible() && w->lst_code.selected(1));
}

TEST_F(ActionsTest, PixelWatchRetriesEveryPauseWhileNoSnapshotCanBeWritten) {
    std::filesystem::create_directory(dir.file("code10.bmp"));
    run({settings(100, 0), "code:|010|xpos:|10|ypos:|10|break:|1|", "code:|002|xpos:|1|ypos:|1|"});
    clock.advance(450);
    EXPECT_EQ(times("capture_screen"), (Times{110, 210, 310, 410}));
    EXPECT_TRUE(platform.calls_of("set_cursor_pos").empty());
    // Stopping leaves the state; the next start clears it.
    w->cmd_start.click();
    EXPECT_EQ(w->pixel_status, 1);
    std::filesystem::remove(dir.file("code10.bmp"));
    w->cmd_start.click();
    EXPECT_EQ(w->pixel_status, 0);
}

}  // namespace
}  // namespace mavorin

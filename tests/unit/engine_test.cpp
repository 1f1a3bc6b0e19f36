// The execution engine on the virtual clock: passes and pauses, starting and stopping, the hot
// keys, single commands from the list, and what each command does on the desktop.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
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
    // Loads the records as an approved macro file named on the command line: loaded and started
    // at t = 0.
    void run(const std::vector<std::string>& records) {
        write_macro("m.mvn", ".mvn 0000", records);
        trust("m.mvn");
        platform.cmdline = "\"" + dir.file("m.mvn") + "\"";
        start();
    }
    // Starts the default macro without running it, then puts `records` into slots 0.. as if
    // the user had built them.
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
    static std::string settings(int wait, int loop, const std::string& stop = "ESC") {
        return "code:|000|wait:|" + std::to_string(wait) + "|loop:|" + std::to_string(loop) +
               "|start:|no|stop:|" + stop + "|";
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
    // A fresh window on the same platform and clock, for a second scenario in one test.
    void restart_window() {
        platform.clear_calls();
        w = std::make_unique<frm_mavorin>(platform, clock);
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
    for (bool with_cd : {false, true}) {
        SCOPED_TRACE(with_cd ? "with a CD drive" : "without");
        restart_window();
        platform.roots = with_cd ? std::vector<std::string>{"D:\\"} : std::vector<std::string>{};
        platform.drive_types = {{"D:\\", kDriveCdrom}};
        const int64_t t0 = clock.now_ms();
        run({settings(1000, 3), "code:|002|xpos:|1|ypos:|1|", "code:|002|xpos:|2|ypos:|2|"});
        ASSERT_GT(lockable().size(), 30u);
        for (form::Control* c : lockable()) EXPECT_FALSE(c->enabled()) << c->name();
        EXPECT_TRUE(w->com_code.visible());
        EXPECT_FALSE(w->com_code0.visible());
        EXPECT_TRUE(w->cmd_start.enabled());
        EXPECT_EQ(w->cmd_start.caption(), "ESC=Stop");

        clock.advance(2500);  // two steps done, a third pending
        ASSERT_EQ(times("set_cursor_pos"), (Times{t0 + 1010, t0 + 2010}));
        // "Laden" comes back only while the macro's file exists.
        if (!with_cd) std::filesystem::remove(dir.file("m.mvn"));
        w->cmd_start.click();  // the caption is not "Start": this stops
        clock.advance(5000);
        EXPECT_EQ(times("set_cursor_pos").size(), 2u);  // the pending step never ran
        for (form::Control* c : lockable()) {
            const bool stays_off =
                c == &w->cmd_load || c == &w->com_8_laufwerk || c == &w->com_8_move;
            EXPECT_EQ(c->enabled(), with_cd || !stays_off) << c->name();
        }
        EXPECT_FALSE(w->com_code.visible());
        EXPECT_TRUE(w->com_code0.visible());
        EXPECT_EQ(w->cmd_start.caption(), "Start");
        EXPECT_EQ(w->befehl_aktuell, 0);
        EXPECT_EQ(w->hsc_befehle.value(), 0);
        EXPECT_EQ(w->lbl_hscaktuell.caption(), "0");
    }
}

TEST_F(RunTest, PauseComesFromTheSettingsRecordWhileTheBoxIsCorrected) {
    // Box 5, record 0: the box shows 10, the run uses the record raised to 10 ms.
    build({"code:|000|wait:|0|loop:|0|start:|no|stop:|F3|", "code:|002|xpos:|1|ypos:|1|",
           "code:|002|xpos:|2|ypos:|2|"});
    show(w->txt_0_wait, "5");
    show(w->txt_0_loop, "-4");
    w->abbruchname = "F3";
    w->cmd_start.click();
    EXPECT_EQ(w->txt_0_wait.text(), "10");
    EXPECT_EQ(w->txt_0_loop.text(), "0");
    EXPECT_EQ(w->befehl[0], "code:|000|wait:|0|loop:|0|start:|no|stop:|F3|");
    EXPECT_EQ(w->cmd_start.caption(), "F3=Stop");
    clock.advance(200);
    // At 10 ms the driver's tick falls on the step's own tick and comes first, so every later
    // command waits one driver period more.
    EXPECT_EQ(trace(), (Ops{"20 set_cursor_pos 1 1", "40 set_cursor_pos 2 2", "50 block_input 0"}));

    // A wait above 60000 in the record is cut to 60000.
    restart_window();
    build({"code:|000|wait:|99999|loop:|0|start:|no|stop:|ESC|", "code:|007|pc:|lockpc|"});
    const int64_t t0 = clock.now_ms();
    w->cmd_start.click();
    clock.advance(70000);
    EXPECT_EQ(times("lock_workstation"), (Times{t0 + 10 + 60000}));
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

TEST_F(RunTest, DoubleClickRunsOneCommandOnly) {
    build({settings(250, 5), "code:|002|xpos:|5|ypos:|6|", "code:|007|pc:|input-enable|",
           "code:|010|xpos:|1|ypos:|1|break:|1|", "code:|007|pc:|lockpc|",
           "code:|007|pc:|shutdown|", "code:|007|pc:|reboot|"});
    const std::string ask = "0 message_box Möchten Sie diesen Befehl wirklich ausführen?";
    // The trace counts from the double click; shutting down and rebooting ask first.
    struct Case {
        int line;
        const char* wait_box;
        int answer;
        Ops want;
    } cases[] = {{1, "250", kIdYes, {"250 set_cursor_pos 5 6"}},  // once, no driver
                 {1, "0", kIdYes, {"10 set_cursor_pos 5 6"}},     // below 1: 10 ms
                 {2, "250", kIdYes, {}},                          // input commands never run singly
                 {3, "250", kIdYes, {}},                          // nor the pixel watch
                 {4, "250", kIdYes, {"100 lock_workstation"}},    // PC commands after 100 ms
                 {5, "250", kIdNo, {ask}},
                 {6, "250", kIdYes, {ask, "100 reboot", "100 message_box reboot"}}};
    for (const auto& c : cases) {
        show(w->txt_0_wait, c.wait_box);
        platform.message_box_answers = {c.answer};
        platform.clear_calls();
        const int64_t t = clock.now_ms();
        w->lst_code.set_list_index(c.line);
        w->lst_code.on_dbl_click();
        clock.advance(1000);
        EXPECT_EQ(trace(t), c.want) << "line " << c.line;
        EXPECT_FALSE(w->running());
    }
    EXPECT_EQ(w->lbl_hscaktuell.caption(), "6");

    // Nothing while a run is active.
    w->cmd_start.click();
    w->lst_code.set_list_index(4);
    w->lst_code.on_dbl_click();
    clock.advance(5);
    w->cmd_start.click();
    clock.advance(1000);
    EXPECT_TRUE(times("lock_workstation").empty());
}

TEST_F(RunTest, SingleRunsKeepTheCounterOfTheLastRun) {
    build({settings(10, 0), "code:|005|start:|9|step:|2|"});
    show(w->txt_0_wait, "10");
    for (int i = 0; i < 4; ++i) {
        if (i == 2) {
            w->cmd_start.click();  // a run that leaves 9
            clock.advance(100);
        }
        w->lst_code.set_list_index(1);
        w->lst_code.on_dbl_click();
        clock.advance(100);
    }
    // Before any run the counter starts empty; after one it goes on from the run's value.
    EXPECT_EQ(args("clipboard_set"), (Ops{"", "2", "9", "11", "13"}));
}

TEST_F(RunTest, TheLoopValueGivesThePassesAndUnknownCodesAndEmptySlotsPauseForNothing) {
    // The run ends, freeing input, in the tick of its last step; the settings record never runs.
    const std::string step = " set_cursor_pos 4 2", move = "code:|002|xpos:|4|ypos:|2|";
    const std::vector<std::pair<std::vector<std::string>, Ops>> cases = {
        {{settings(100, 0), move}, {"110" + step, "110 block_input 0"}},
        {{settings(100, -3), move}, {"110" + step, "110 block_input 0"}},
        {{settings(100, 2), move}, {"110" + step, "210" + step, "310" + step, "310 block_input 0"}},
        {{settings(100, 0), "code:|011|wait:|0|", "", move}, {"310" + step, "310 block_input 0"}}};
    for (const auto& [records, want] : cases) {
        restart_window();
        const int64_t t0 = clock.now_ms();
        build(records);
        w->cmd_start.click();
        clock.advance(2000);
        EXPECT_EQ(trace(t0), want) << records[0] << " " << records.size();
        EXPECT_FALSE(w->running());
    }
    EXPECT_EQ(w->befehl[1], "code:|001|wait:|0|");
    EXPECT_EQ(w->befehl[2], "code:|001|wait:|0|");
}

TEST_F(RunTest, RandomPauseLengthensOnlyTheGapAfterIt) {
    platform.random_values = {0.5, 0.999};
    run({settings(100, 1), "code:|002|xpos:|1|ypos:|1|", "code:|001|wait:|100|maxwait:|300|",
         "code:|002|xpos:|2|ypos:|2|", "code:|002|xpos:|3|ypos:|3|"});
    clock.advance(5000);
    // Pass 1: extra 100 + 0.5 * 200 = 200. Pass 2: 100 + floor(0.999 * 200) = 299, so the
    // step lands off the driver's 10 ms grid and the one after it waits for the next tick.
    EXPECT_EQ(times("set_cursor_pos"), (Times{110, 510, 610, 710, 1209, 1310}));
    EXPECT_EQ(times("seed_random"), (Times{210, 810}));  // before every draw
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

TEST_F(RunTest, TheListIsRefreshedEachStepOnlyWhenTheCheckBoxSaysSo) {
    for (int shown : {1, 0}) {
        restart_window();
        build({settings(100, 1), "code:|002|xpos:|1|ypos:|1|", "code:|002|xpos:|2|ypos:|2|"});
        w->chk_0_listbox.set_value(shown);
        w->cmd_start.click();
        clock.advance(150);  // command 1 ran
        const std::string before = w->lst_code.items().at(2);
        w->befehl[2] = "code:|002|xpos:|7|ypos:|7|";
        clock.advance(100);  // command 2 ran, the pass goes on
        EXPECT_EQ(w->lst_code.items().at(2) != before, shown == 1) << shown;
        EXPECT_EQ(w->lbl_hscaktuell.caption(), "2");
    }
}

class ActionsTest : public MacroRun {
  protected:
    void paint(int x0, int y0, int size, uint8_t green) {
        for (int y = y0; y < y0 + size; ++y)
            for (int x = x0; x < x0 + size; ++x)
                platform.screen.bgr[(static_cast<size_t>(y) * 1920 + x) * 3 + 1] = green;
    }
};

TEST_F(ActionsTest, PointerMovesToRoundedPositionsAndClicksNeedTheExactWord) {
    run({settings(100, 0), "code:|002|xpos:|100.5|ypos:|101.5|", "code:|002|xpos:|abc|ypos:|-3.5|",
         "code:|002|xpos:|5000000000|ypos:|1|", "code:|003|mouseclick:|Left|",
         "code:|003|mouseclick:|middle|", "code:|003|mouseclick:|left|",
         "code:|003|mouseclick:|right|"});
    clock.advance(2000);
    // Beyond the cursor call's range: nothing (310); "Left": nothing (410).
    EXPECT_EQ(trace(),
              (Ops{"110 set_cursor_pos 100 102", "210 set_cursor_pos 0 -4", "510 mouse_event 32",
                   "510 mouse_event 64", "610 mouse_event 2", "610 mouse_event 4",
                   "710 mouse_event 8", "710 mouse_event 16", "710 block_input 0"}));
}

TEST(TypedText, IsEscapedThenModifiedThenGivenTheCounter) {
    // Case matters.
    const std::vector<std::pair<std::string, std::string>> table = {
        {"{SHIFT}a (1+1){ENTER}", "+a {(}1{+}1{)}{ENTER}"},
        {"50%", "50{%}"},
        {"{ALTGR}q", "^%q"},
        {"Nr. {CODE5}", "Nr. 8"},
        {"{code5}^~", "8{^}{~}"},
        {"a~b", "a{~}b"},
        {"{CTRL}c{ALT}{F4}", "^c%{F4}"},
        {"{shift}x", "{shift}x"}};
    for (const auto& [stored, sent] : table) EXPECT_EQ(keystroke_text(stored, "8"), sent) << stored;
    // The counter goes in last: its characters are not escaped.
    EXPECT_EQ(keystroke_text("{CODE5}", "-1+2"), "-1+2");
}

TEST_F(ActionsTest, OneCounterForTheWholeMacroFillsTypedTextAcrossPasses) {
    const Ops clipboard = {"5", "8", "11", "14"};
    const Ops typed = {"0{+}0", "8", "8{+}8", "14"};
    run({settings(10, 1), "code:|004|text:|{CODE5}+{code5}|", "code:|005|start:|5|step:|3|",
         "code:|005|start:|100|step:|3|", "code:|004|text:|{code5}|"});
    clock.advance(1000);
    EXPECT_EQ(args("clipboard_set"), clipboard);
    EXPECT_EQ(args("send_keys"), typed);
    // The typed text is kept in its slot; the record stays as written.
    EXPECT_EQ(w->befehl_wert1[1], "8{+}8");
    EXPECT_EQ(w->befehl[1], "code:|004|text:|{CODE5}+{code5}|");

    platform.clear_calls();  // a new run starts the counter afresh
    w->cmd_start.click();
    clock.advance(1000);
    EXPECT_EQ(args("clipboard_set"), clipboard);
    EXPECT_EQ(args("send_keys"), typed);
}

TEST_F(ActionsTest, CounterIsClampedAndWrittenWithFifteenDigitsAtMost) {
    // 0.1 + 0.2 is 0.30000000000000004 in binary; fifteen digits give 0.3.
    const std::vector<std::pair<std::string, Ops>> cases = {
        {"99999999999990|step:|7", {"99999999999990", "99999999999997", "99999999999999"}},
        {"-99999999999998|step:|-1.5", {"-99999999999998", "-99999999999999", "-99999999999999"}},
        {"0.1|step:|0.2", {"0.1", "0.3", "0.5"}}};
    for (const auto& [values, want] : cases) {
        restart_window();
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
    EXPECT_EQ(w->befehl_wert1[2], "/opt/run 42");
    // A record cannot carry a bar, but a value set from outside the parser can.
    w->befehl_aktuell = 3;
    w->befehl_wert1[3] = "a|b{code5}|";
    w->system.open_program();
    EXPECT_EQ(args("run_program").back(), "ab42");
}

TEST_F(ActionsTest, NoTimerFiresWhileABoxIsOpenOrALongTextIsTyped) {
    // Time passes while the "reboot" box is open and between the chunks of a long text; the
    // window's timers must not fire meanwhile (a second step would repeat the request).
    int ticks_inside = 0;
    platform.typing_chunk = 4;
    platform.on_call = [&](const PlatformCall& c) {
        static bool nested = false;
        if (nested || (c.op != "message_box" && c.op != "process_pending_events")) return;
        nested = true;
        const size_t before = platform.calls.size();
        clock.advance(1000);
        ticks_inside += static_cast<int>(platform.calls.size() - before);
        nested = false;
    };
    run({settings(10, 0), "code:|007|pc:|reboot|", "code:|004|text:|abcdefghijkl|"});
    clock.advance(500);
    platform.on_call = nullptr;
    clock.advance(10000);
    EXPECT_EQ(ticks_inside, 0);
    EXPECT_EQ(args("reboot").size(), 1u);
    EXPECT_EQ(platform.typed, Ops{"abcdefghijkl"});
    EXPECT_FALSE(w->running());
}

TEST_F(ActionsTest, TheAbortKeyStopsALongTextBetweenChunksAndEndsTheRun) {
    platform.typing_chunk = 3;
    // The third look at the abort key (ESC) while typing finds a tap: typing stops there.
    platform.on_call = [&](const PlatformCall& c) {
        if (c.op == "send_keys") platform.key_states[0x1B] = {kKeyUp, kKeyUp, kKeyTapped};
    };
    run({settings(10, 5), "code:|004|text:|abcdefghijkl|", "code:|002|xpos:|1|ypos:|2|"});
    clock.advance(2000);
    EXPECT_EQ(platform.typed, Ops{"abcdefghi"});
    EXPECT_TRUE(args("set_cursor_pos").empty());
    EXPECT_FALSE(w->running());
    EXPECT_EQ(w->cmd_start.caption(), "Start");
}

TEST_F(ActionsTest, EndStopsEverythingAndLeavesInputBlocked) {
    run({settings(100, 3), "code:|007|pc:|input-disable|", "code:|007|pc:|end|",
         "code:|002|xpos:|1|ypos:|1|"});
    clock.advance(210);
    EXPECT_EQ(platform.ended, 1);
    platform.clear_calls();
    clock.advance(60000);
    EXPECT_TRUE(platform.calls.empty());  // no command, no hot-key poll, no closing handler
    EXPECT_TRUE(platform.input_blocked);
    EXPECT_FALSE(w->Timer_befehlstart.enabled());
}

TEST_F(ActionsTest, InputIsFreedAtTheEndOfTheLastPassButNotOnAbort) {
    for (int abort : {0, 1, 2}) {  // none, by the abort key, by the stop button
        restart_window();
        run({settings(100, 1), "code:|007|pc:|input-disable|", "code:|002|xpos:|1|ypos:|1|"});
        if (abort == 1) {
            platform.key_states[0x1B].assign(12, kKeyUp);
            platform.key_states[0x1B].push_back(kKeyTapped);
        }
        clock.advance(150);
        if (abort == 2) w->cmd_start.click();
        clock.advance(1000);
        EXPECT_FALSE(w->running());
        EXPECT_EQ(args("block_input"), abort ? Ops{"1"} : (Ops{"1", "1", "0"})) << abort;
        EXPECT_EQ(platform.input_blocked, abort != 0);
    }
}

TEST_F(ActionsTest, WithoutACdDriveTheCdCommandDoesNothing) {
    run({settings(100, 0), "code:|008|drive:|D:\\|move:|open|", "code:|002|xpos:|1|ypos:|1|"});
    clock.advance(1000);
    EXPECT_TRUE(w->kein_laufwerk);
    EXPECT_EQ(trace(), (Ops{"210 set_cursor_pos 1 1", "210 block_input 0"}));
}

TEST(ScreenshotPath, NameQualityAndFormat) {
    // Only the first "<" counts; the quality is read from its next three characters, blanks as
    // nothing, kept within 10..100 and 0 meaning 100. Only a lower-case ".jpg" ending is JPEG.
    const char* rows[][2] = {{"/a.jpg <75%>", "/a.jpg jpeg 75"},
                             {"/a.jpg <5>", "/a.jpg jpeg 10"},
                             {"/a.jpg <-5>", "/a.jpg jpeg 10"},
                             {"/a.jpg <0>", "/a.jpg jpeg 100"},
                             {"/a.jpg", "/a.jpg jpeg 100"},
                             {"/a.jpg <250>", "/a.jpg jpeg 100"},
                             {"/a.jpg < 60%>", "/a.jpg jpeg 60"},
                             {"/a.jpg <99.9%>", "/a.jpg jpeg 99"},
                             {"a.jpg <90%> <20%>", "a.jpg jpeg 90"},
                             {".jpg", ".jpg jpeg 100"},
                             {"/a.JPG", "/a.JPG bmp"},
                             {"/a.bmp   ", "/a.bmp bmp"},
                             {"a.jp", "a.jp bmp"},
                             {"<90%>", " bmp"}};
    for (const auto& [path, want] : rows) {
        const ScreenshotTarget t = screenshot_target(path);
        EXPECT_TRUE(t.save) << path;
        EXPECT_EQ(t.file + (t.jpeg ? " jpeg " + std::to_string(t.quality) : " bmp"), want) << path;
    }
    EXPECT_FALSE(screenshot_target("abc").save);
}

TEST_F(ActionsTest, ScreenshotStepsSaveWhatThePathSaysAndAFailedJpegDoesNotStopTheRun) {
    platform.jpeg_status = 7;
    run({settings(100, 0), "code:|005|start:|3|step:|1|", "code:|009|pfad:|{CODE5}.bmp|",
         "code:|009|pfad:|shot{code5}.jpg <75%>|", "code:|009|pfad:|s.png   |",
         "code:|009|pfad:|abc|", "code:|002|xpos:|1|ypos:|1|"});
    // The failing JPEG ends its step as usual: the label follows and the next step is on time.
    clock.advance(350);
    EXPECT_EQ(w->lbl_hscaktuell.caption(), "3");
    clock.advance(1000);
    EXPECT_EQ(trace(), (Ops{"110 clipboard_set 3", "210 capture_screen", "210 save_bmp 3.bmp",
                            "310 capture_screen", "310 save_jpeg shot3.jpg 75",
                            "410 capture_screen", "410 save_bmp s.png", "510 capture_screen",
                            "610 set_cursor_pos 1 1", "610 block_input 0"}));
    EXPECT_EQ(w->befehl_wert1[3], "shot3.jpg <75%>");
    EXPECT_EQ(dir.read("3.bmp").substr(0, 2), "BM");
    EXPECT_EQ(dir.read("s.png").substr(0, 2), "BM");  // the extension does not pick the format

    for (int status : {7, 2, 0}) {
        platform.jpeg_status = status;
        try {
            w->screen.Save_JPG(w->pic_screenshot, "y.jpg", 80);
            EXPECT_EQ(status, 0);
        } catch (const SaveJpgError& e) {
            EXPECT_EQ(std::string(e.what()), "Speicherung des Bildes fehlgeschlagen. GDI+ Error:" +
                                                 std::to_string(status));
            EXPECT_EQ(e.number, 5);
        }
    }
}

TEST_F(ActionsTest, PixelWatchTimesOutAfterTwentyPollsPerUnit) {
    run({settings(100, 0), "code:|010|xpos:|10|ypos:|10|break:|1|", "code:|002|xpos:|1|ypos:|1|"});
    clock.advance(1000);
    // The reference at 110, then twenty polls, then the pause. A 10 ms poll ends on the
    // driver's own tick, which comes first, so polls follow every other driver tick.
    Times polls = {110};
    for (int64_t ms = 120; ms <= 500; ms += 20) polls.push_back(ms);
    EXPECT_EQ(times("capture_screen"), polls);
    EXPECT_EQ(args("save_bmp"), Ops(21, "code10.bmp"));
    EXPECT_EQ(times("set_cursor_pos"), (Times{610}));
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.file("code10.bmp")));

    restart_window();  // two units: forty polls
    const int64_t t0 = clock.now_ms();
    run({settings(100, 0), "code:|010|xpos:|10|ypos:|10|break:|2|", "code:|002|xpos:|1|ypos:|1|"});
    clock.advance(2000);
    EXPECT_EQ(times("capture_screen").size(), 41u);
    EXPECT_EQ(times("set_cursor_pos"), (Times{t0 + 1010}));
}

TEST_F(ActionsTest, PixelWatchWithoutLimitEndsOnlyOnAChangeInItsBlock) {
    run({settings(100, 0), "code:|010|xpos:|10.5|ypos:|9.5|break:|0|",
         "code:|002|xpos:|1|ypos:|1|"});
    clock.advance(30000);
    EXPECT_TRUE(w->running());
    paint(100, 100, 5, 200);  // outside the block
    clock.advance(1000);
    EXPECT_TRUE(platform.calls_of("set_cursor_pos").empty());
    clock.advance(5);  // between two polls
    paint(12, 11, 1, 200);
    platform.clear_calls();
    clock.advance(500);
    EXPECT_EQ(times("capture_screen"), (Times{31020}));
    EXPECT_EQ(times("set_cursor_pos"), (Times{31130}));
    // The block starts at the rounded position (10, 10).
    ASSERT_EQ(w->pic_pixel.width, 5);
    EXPECT_EQ(w->pic_pixel.bgr[(1 * 5 + 2) * 3 + 1], 200);
    EXPECT_EQ(w->pic_pixel.bgr[(1 * 5 + 1) * 3 + 1], 0);
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

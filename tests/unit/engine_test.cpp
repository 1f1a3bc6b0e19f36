// Runs on the virtual clock: passes, pauses, hot keys, every action and what reaches the desktop.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/input_actions.hpp"
#include "engine/screen_actions.hpp"
#include "fixture.hpp"

namespace mavorin {
namespace {

class RunTest : public testing::WindowTest {
  protected:
    // Loads the records as a macro file and starts it from the command line.
    void run(const std::vector<std::string>& records, const std::string& header = ".mvn 0000") {
        write_macro("m.mvn", header, records);
        platform.cmdline = "\"" + dir.file("m.mvn") + "\"";
        start();
    }
    static std::string settings(int wait, int loop, const std::string& stop = "ESC") {
        return "code:|000|wait:|" + std::to_string(wait) + "|loop:|" + std::to_string(loop) +
               "|start:|no|stop:|" + stop + "|";
    }
    std::vector<int64_t> times(const std::string& op) {
        std::vector<int64_t> t;
        for (const auto& c : platform.calls_of(op)) t.push_back(c.ms);
        return t;
    }
    std::vector<std::string> args(const std::string& op) {
        std::vector<std::string> a;
        for (const auto& c : platform.calls_of(op)) a.push_back(c.args);
        return a;
    }
};

TEST_F(RunTest, PassesFollowTheLoopValue) {
    for (int loop : {0, -3, 2}) {
        platform.clear_calls();
        w = std::make_unique<frm_mavorin>(platform, clock);
        run({settings(100, loop), "code:|002|xpos:|1|ypos:|2|"});
        clock.advance(5000);
        EXPECT_EQ(platform.calls_of("set_cursor_pos").size(), loop == 2 ? 3u : 1u) << loop;
        EXPECT_EQ(w->cmd_start.caption(), "Start");
        EXPECT_FALSE(w->running());
    }
}

TEST_F(RunTest, PauseAfterEachCommandAndRandomPauseLengthensOnlyTheNextGap) {
    platform.random_values = {0.5};
    run({settings(100, 0), "code:|002|xpos:|1|ypos:|1|", "code:|001|wait:|100|maxwait:|300|",
         "code:|002|xpos:|2|ypos:|2|", "code:|002|xpos:|3|ypos:|3|"});
    clock.advance(3000);
    // The driver re-arms the step within one 10 ms period after the previous step ended.
    auto t = times("set_cursor_pos");
    ASSERT_EQ(t.size(), 3u);
    auto gap_ok = [](int64_t gap, int64_t pause) { return gap >= pause && gap <= pause + 10; };
    EXPECT_TRUE(gap_ok(t[0], 100 + 10)) << t[0];
    EXPECT_TRUE(gap_ok(t[1] - t[0], 100 + 300)) << t[1] - t[0];  // 100 + the extra 200
    EXPECT_TRUE(gap_ok(t[2] - t[1], 100)) << t[2] - t[1];
    EXPECT_EQ(platform.calls_of("seed_random").size(), 1u);
}

TEST_F(RunTest, RandomBoundsUpperBelowLowerAndTheShortForm) {
    run({settings(10, 0), "code:|001|wait:|300|maxwait:|100|", "code:|002|xpos:|1|ypos:|1|",
         "code:|001|wait:|100|", "code:|002|xpos:|2|ypos:|2|", "code:|001|wait:|-5|maxwait:|70000|",
         "code:|002|xpos:|3|ypos:|3|"});
    w->befehl_wert2[3] = "5000";  // left over from an earlier record: must be ignored
    platform.random_values = {0.5};
    clock.advance(40000);
    auto t = times("set_cursor_pos");
    ASSERT_EQ(t.size(), 3u);
    auto gap_ok = [](int64_t gap, int64_t pauses) { return gap >= pauses && gap <= pauses + 20; };
    EXPECT_TRUE(gap_ok(t[0], 10 + 310 + 10)) << t[0];                // exactly 300 extra
    EXPECT_TRUE(gap_ok(t[1] - t[0], 10 + 110 + 10)) << t[1] - t[0];  // exactly 100 extra
    // Bounds 0 and 60000 with r = 0.5: 30000 extra.
    EXPECT_TRUE(gap_ok(t[2] - t[1], 10 + 30010 + 10)) << t[2] - t[1];
}

TEST_F(RunTest, StartCorrectsTheShownPauseButRunsFromTheRecord) {
    run({settings(5, 0), "code:|002|xpos:|1|ypos:|1|", "code:|002|xpos:|1|ypos:|1|"});
    EXPECT_EQ(w->txt_0_wait.text(), "10");
    clock.advance(100);
    auto t = times("set_cursor_pos");
    ASSERT_EQ(t.size(), 2u);
    EXPECT_LE(t[0], 20);  // 10 ms, not 5
    EXPECT_GE(t[1] - t[0], 10);
    EXPECT_LE(t[1] - t[0], 20);
}

TEST_F(RunTest, StopDuringAPauseDropsThePendingStepAndRestoresTheEditor) {
    run({settings(1000, 5), "code:|002|xpos:|1|ypos:|1|"});
    EXPECT_FALSE(w->txt_0_wait.enabled());
    EXPECT_FALSE(w->lst_code.enabled());
    EXPECT_TRUE(w->cmd_start.enabled());
    EXPECT_FALSE(w->com_8_laufwerk.enabled());
    clock.advance(500);
    w->cmd_start.click();
    clock.advance(5000);
    EXPECT_TRUE(platform.calls_of("set_cursor_pos").empty());
    EXPECT_EQ(w->cmd_start.caption(), "Start");
    EXPECT_TRUE(w->txt_0_wait.enabled());
    EXPECT_FALSE(w->com_8_laufwerk.enabled());  // no drive: stays disabled
    EXPECT_EQ(w->befehl_aktuell, 0);
    EXPECT_EQ(w->hsc_befehle.value(), 0);
    EXPECT_EQ(w->lbl_hscaktuell.caption(), "0");
    EXPECT_TRUE(w->Timer_befehlstart.enabled());
}

TEST_F(RunTest, HotKeysActOnlyOnPressedSinceLastPoll) {
    start();
    w->com_0_startcode.set_text("F5");
    w->com_0_abbruchcode.set_text("F12");
    platform.key_states[0x74] = {-32768, -32768, 1, -32768, -32767};
    clock.advance(40);
    EXPECT_FALSE(w->running());
    clock.advance(10);
    EXPECT_TRUE(w->running());
    EXPECT_EQ(w->cmd_start.caption(), "F12=Stop");
    platform.key_states[0x7B] = {-32768, -32767};
    clock.advance(10);
    EXPECT_TRUE(w->running());
    clock.advance(10);
    EXPECT_FALSE(w->running());
    clock.advance(10);
    EXPECT_EQ(args("get_async_key_state").back(), "116");  // polling the start key again
}

TEST_F(RunTest, TypedTextReplacementsAndTheCounter) {
    run({settings(10, 1), "code:|004|text:|{CODE5}|", "code:|005|start:|5|step:|3|",
         "code:|004|text:|{SHIFT}a (1+1){ENTER}|", "code:|005|start:|100|step:|3|",
         "code:|004|text:|50%|", "code:|005|start:|1|step:|3|", "code:|004|text:|{ALTGR}q|",
         "code:|004|text:|Nr. {code5} {shift}|"});
    clock.advance(1000);
    EXPECT_EQ(args("clipboard_set"), (std::vector<std::string>{"5", "8", "11", "14", "17", "20"}));
    EXPECT_EQ(args("send_keys"),
              (std::vector<std::string>{"0", "+a {(}1{+}1{)}{ENTER}", "50{%}", "^%q",
                                        "Nr. 11 {shift}", "11", "+a {(}1{+}1{)}{ENTER}", "50{%}",
                                        "^%q", "Nr. 20 {shift}"}));
    EXPECT_EQ(tastatur_text("a~b", "7"), "a{~}b");
}

TEST_F(RunTest, PointerAndClicks) {
    run({settings(10, 0), "code:|002|xpos:|100.5|ypos:|abc|", "code:|003|mouseclick:|right|",
         "code:|003|mouseclick:|Left|", "code:|003|mouseclick:|middle|"});
    clock.advance(500);
    EXPECT_EQ(args("set_cursor_pos"), (std::vector<std::string>{"100 0"}));
    EXPECT_EQ(args("mouse_event"), (std::vector<std::string>{"8", "16", "32", "64"}));
}

TEST_F(RunTest, SystemCommandsAndTheCdDoor) {
    platform.roots = {"D:\\"};
    platform.drive_types = {{"D:\\", 5}};
    run({settings(10, 0), "code:|006|pfad:|/bin/prog{CODE5}|", "code:|007|pc:|LOCKPC|",
         "code:|007|pc:|lockpc|", "code:|007|pc:|screenoff|", "code:|007|pc:|reboot|",
         "code:|008|drive:|D:\\|move:|open|", "code:|008|drive:|D:\\|move:|close|",
         "code:|007|pc:|input-disable|", "code:|007|pc:|end|", "code:|002|xpos:|1|ypos:|1|"});
    clock.advance(2000);
    EXPECT_EQ(args("run_program"), (std::vector<std::string>{"/bin/prog0"}));
    EXPECT_EQ(platform.calls_of("lock_workstation").size(), 1u);
    EXPECT_EQ(platform.calls_of("monitor_off").size(), 1u);
    EXPECT_EQ(platform.calls_of("reboot").size(), 1u);
    EXPECT_EQ(args("message_box"), (std::vector<std::string>{"reboot"}));
    EXPECT_EQ(args("mci_send"),
              (std::vector<std::string>{"Open D:\\ Type cdaudio Alias cd", "set cd door open",
                                        "close cd", "Open D:\\ Type cdaudio Alias cd",
                                        "set cd door closed", "close cd"}));
    EXPECT_EQ(platform.ended, 1);
    EXPECT_TRUE(platform.calls_of("set_cursor_pos").empty());  // nothing after "end"
    EXPECT_EQ(args("block_input"), (std::vector<std::string>{"1"}));
    EXPECT_FALSE(w->Timer_befehlstart.enabled());
}

TEST_F(RunTest, InputIsFreedAfterTheLastPassButNotOnAbort) {
    run({settings(10, 0), "code:|007|pc:|input-disable|"});
    clock.advance(200);
    EXPECT_EQ(args("block_input"), (std::vector<std::string>{"1", "0"}));

    platform.clear_calls();
    w = std::make_unique<frm_mavorin>(platform, clock);
    run({settings(10, 0), "code:|007|pc:|input-disable|", "code:|001|wait:|5000|"});
    platform.key_states[27] = {0, 0, 0, 0, -32767};
    clock.advance(100);
    EXPECT_FALSE(w->running());
    EXPECT_EQ(args("block_input"), (std::vector<std::string>{"1"}));
}

TEST_F(RunTest, DoubleClickRunsOneCommandWithConfirmation) {
    start();
    w->befehl[1] = "code:|007|pc:|reboot|";
    w->befehl[2] = "code:|007|pc:|input-disable|";
    w->befehl[3] = "code:|002|xpos:|9|ypos:|9|";
    w->liste.befehlsliste();
    auto dbl = [&](int line) {
        w->lst_code.set_list_index(line);
        w->lst_code.on_dbl_click();
        clock.advance(1000);
    };
    platform.message_box_answers = {kIdNo};
    dbl(1);
    EXPECT_TRUE(platform.calls_of("reboot").empty());
    EXPECT_EQ(args("message_box"),
              (std::vector<std::string>{"Möchten Sie diesen Befehl wirklich ausführen?"}));
    dbl(2);
    EXPECT_TRUE(platform.calls_of("block_input").empty());
    dbl(3);
    EXPECT_EQ(args("set_cursor_pos"), (std::vector<std::string>{"9 9"}));
    EXPECT_FALSE(w->running());
    platform.message_box_answers = {kIdYes};
    dbl(1);
    EXPECT_EQ(platform.calls_of("reboot").size(), 1u);
}

TEST(ScreenshotTarget, PathTable) {
    struct Row {
        const char* path;
        const char* file;
        bool jpeg;
        int quality;
    } rows[] = {
        {"C:\\a.jpg <75%>", "C:\\a.jpg", true, 75},  {"C:\\a.jpg <5>", "C:\\a.jpg", true, 10},
        {"C:\\a.jpg <0>", "C:\\a.jpg", true, 100},   {"C:\\a.jpg", "C:\\a.jpg", true, 100},
        {"C:\\a.jpg <250>", "C:\\a.jpg", true, 100}, {"C:\\a.JPG", "C:\\a.JPG", false, 100},
        {"C:\\a.bmp   ", "C:\\a.bmp", false, 100},   {"a.jpg<42.5%>", "a.jpg", true, 42}};
    for (const auto& r : rows) {
        auto t = screenshot_ziel(r.path);
        EXPECT_TRUE(t.save) << r.path;
        EXPECT_EQ(t.file, r.file) << r.path;
        EXPECT_EQ(t.jpeg, r.jpeg) << r.path;
        if (r.jpeg) EXPECT_EQ(t.quality, r.quality) << r.path;
    }
    EXPECT_FALSE(screenshot_ziel("a.b").save);
}

TEST_F(RunTest, ScreenshotsAndTheJpegErrorText) {
    platform.write_jpeg_files = true;
    run({settings(10, 0), "code:|005|start:|3|step:|1|", "code:|009|pfad:|{CODE5}.bmp|",
         "code:|009|pfad:|shot.jpg <75%>|", "code:|009|pfad:|ab|"});
    clock.advance(500);
    EXPECT_EQ(args("save_bmp"), (std::vector<std::string>{"3.bmp"}));
    EXPECT_EQ(args("save_jpeg"), (std::vector<std::string>{"shot.jpg 75"}));
    EXPECT_EQ(platform.calls_of("capture_screen").size(), 3u);
    EXPECT_EQ(dir.read("3.bmp").substr(0, 2), "BM");

    platform.jpeg_status = 7;
    try {
        w->screen.Save_JPG(w->pic_screenshot, "x.jpg", 50);
        ADD_FAILURE() << "no error raised";
    } catch (const SaveJpgError& e) {
        EXPECT_STREQ(e.what(), "Speicherung des Bildes fehlgeschlagen. GDI+ Error:7");
        EXPECT_EQ(e.number, 5);
    }
}

TEST_F(RunTest, PixelWatchEndsOnChangeOnTimeoutAndNeverWithZero) {
    // Abort value 1: twenty polls without a change, then the next command.
    run({settings(100, 0), "code:|010|xpos:|10|ypos:|10|break:|1|", "code:|002|xpos:|1|ypos:|1|"});
    clock.advance(2000);
    ASSERT_EQ(times("set_cursor_pos").size(), 1u);
    const auto polls = platform.calls_of("capture_screen").size();
    EXPECT_EQ(polls, 21u);  // the reference, then twenty polls
    EXPECT_TRUE(std::filesystem::exists(dir.file("code10.bmp")));

    // Abort value 0 waits until the block changes.
    platform.clear_calls();
    w = std::make_unique<frm_mavorin>(platform, clock);
    run({settings(100, 0), "code:|010|xpos:|10|ypos:|10|break:|0|", "code:|002|xpos:|1|ypos:|1|"});
    clock.advance(5000);
    EXPECT_TRUE(platform.calls_of("set_cursor_pos").empty());
    EXPECT_TRUE(w->running());
    const int64_t changed_at = clock.now_ms();
    for (int y = 10; y < 15; ++y)
        for (int x = 10; x < 15; ++x) platform.screen.bgr[(y * 1920 + x) * 3 + 1] = 200;
    clock.advance(500);
    auto t = times("set_cursor_pos");
    ASSERT_EQ(t.size(), 1u);
    EXPECT_LE(t[0] - changed_at, 20 + 100 + 10);  // seen at the next poll, then the pause
}

}  // namespace
}  // namespace mavorin

// Starting and stopping runs, the hot keys, and running one command from the list.
#include <gtest/gtest.h>

#include "engine_fixture.hpp"

namespace mavorin {
namespace {

class RunControlTest : public testing::MacroRun {
  protected:
    std::vector<form::Control*> lockable() {
        frm_mavorin& f = *w;
        std::vector<form::Control*> c = {
            &f.cmd_neu,           &f.cmd_load,        &f.cmd_load2,         &f.img_befehl_left,
            &f.img_befehl_right,  &f.txt_befehle,     &f.com_code,          &f.txt_0_wait,
            &f.txt_0_loop,        &f.com_0_startcode, &f.com_0_abbruchcode, &f.chk_0_transparenz,
            &f.chk_0_vordergrund, &f.chk_0_listbox,   &f.txt_1_random1,     &f.txt_1_random2,
            &f.txt_2_x,           &f.txt_2_y};
        for (int i = 0; i < 3; ++i) c.push_back(&f.opt_3_click[i]);
        c.insert(c.end(), {&f.com_4_eingabebefehl, &f.txt_4_eingabetext, &f.txt_5_start,
                           &f.txt_5_hochzählen, &f.txt_6_pfad, &f.cmd_6_pfad});
        for (int i = 0; i < 7; ++i) c.push_back(&f.opt_7_pc[i]);
        c.insert(c.end(), {&f.com_8_laufwerk, &f.com_8_move, &f.txt_9_pfad, &f.cmd_9_pfad,
                           &f.txt_10_x, &f.txt_10_y, &f.txt_10_abbruch, &f.hsc_befehle, &f.lst_code,
                           &f.cmd_save, &f.cmd_save2});
        return c;
    }
    // The expected change log for the lockable controls from `first` on, in order.
    std::vector<std::string> expected(bool enabled, bool with_cd, const std::string& first) {
        std::vector<std::string> out;
        bool on = false;
        for (form::Control* c : lockable()) {
            on = on || c->name() == first;
            if (!on) continue;
            if (!with_cd && (c == &w->com_8_laufwerk || c == &w->com_8_move)) continue;
            out.push_back(c->name() + (enabled ? ":1" : ":0"));
        }
        return out;
    }
};

TEST_F(RunControlTest, StartLocksTheEditorInOrderAndStopUnlocksIt) {
    for (bool with_cd : {false, true}) {
        restart_window();
        platform.roots = with_cd ? std::vector<std::string>{"D:\\"} : std::vector<std::string>{};
        platform.drive_types = {{"D:\\", kDriveCdrom}};
        build({settings(100, 0), "code:|002|xpos:|1|ypos:|1|"});
        EXPECT_EQ(w->kein_laufwerk, !with_cd);
        testing::ChangeLog log;
        for (form::Control* c : lockable()) log.watch(*c);

        ASSERT_FALSE(w->cmd_load.enabled());  // no file at dateipfad yet
        w->cmd_start.click();
        std::vector<std::string> locked = expected(false, with_cd, "cmd_neu");
        locked.erase(locked.begin() + 1);  // "Laden" was disabled already
        EXPECT_EQ(log.entries, locked) << with_cd;
        EXPECT_TRUE(w->com_code.visible());
        EXPECT_FALSE(w->com_code0.visible());
        EXPECT_TRUE(w->cmd_start.enabled());
        EXPECT_EQ(w->cmd_start.caption(), "ESC=Stop");
        EXPECT_FALSE(w->laden);

        log.entries.clear();
        w->cmd_start.click();  // the caption is not "Start": this stops
        // "Laden" stays locked: still no file.
        std::vector<std::string> want = {"cmd_neu:1",          "cmd_load2:1",   "img_befehl_left:1",
                                         "img_befehl_right:1", "txt_befehle:1", "com_code:1"};
        for (const auto& e : expected(true, with_cd, "txt_0_wait")) want.push_back(e);
        EXPECT_EQ(log.entries, want) << with_cd;
        EXPECT_FALSE(w->com_code.visible());
        EXPECT_TRUE(w->com_code0.visible());
        EXPECT_EQ(w->cmd_start.caption(), "Start");
        EXPECT_EQ(w->com_8_laufwerk.enabled(), with_cd);
        for (form::Control* c : lockable()) c->set_observer(nullptr);
    }
}

TEST_F(RunControlTest, StopRestoresTheSettingsRecordAndOffersLoadingAnExistingFile) {
    run({settings(1000, 3), "code:|002|xpos:|1|ypos:|1|", "code:|002|xpos:|2|ypos:|2|"});
    clock.advance(2500);  // two steps done, a third pending
    ASSERT_EQ(times("set_cursor_pos"), (std::vector<int64_t>{1010, 2010}));
    w->cmd_start.click();
    clock.advance(5000);
    EXPECT_EQ(times("set_cursor_pos").size(), 2u);  // the pending step never ran
    EXPECT_EQ(w->befehl_aktuell, 0);
    EXPECT_EQ(w->code_aktuell, 0);
    EXPECT_EQ(w->hsc_befehle.value(), 0);
    EXPECT_EQ(w->lbl_hscaktuell.caption(), "0");
    EXPECT_TRUE(w->com_code0.visible());
    EXPECT_TRUE(w->cmd_load.enabled());  // the macro's own file exists
    EXPECT_TRUE(w->Timer_befehlstart.enabled());
    EXPECT_FALSE(w->Timer_befehlstop.enabled());
    EXPECT_FALSE(w->Timer_start.enabled());
}

TEST_F(RunControlTest, PauseComesFromTheSettingsRecordWhileTheBoxIsCorrected) {
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
    EXPECT_EQ(trace(), (std::vector<std::string>{"20 set_cursor_pos 1 1", "40 set_cursor_pos 2 2",
                                                 "50 block_input 0"}));

    // A wait above 60000 in the record is cut to 60000.
    restart_window();
    build({"code:|000|wait:|99999|loop:|0|start:|no|stop:|ESC|", "code:|007|pc:|lockpc|"});
    const int64_t t0 = clock.now_ms();
    w->cmd_start.click();
    EXPECT_EQ(w->befehl_wert1[0], "60000");
    clock.advance(70000);
    EXPECT_EQ(times("lock_workstation"), (std::vector<int64_t>{t0 + 10 + 60000}));
}

TEST_F(RunControlTest, StartRepairsEmptySlotsAndResetsTheCounter) {
    build({settings(10, 0), "code:|005|start:|7|step:|1|", "", "code:|004|text:|{CODE5}|"});
    w->zahl = 41;
    w->pixel_status = 2;
    w->cmd_start.click();
    EXPECT_EQ(w->befehl[2], "code:|001|wait:|0|");
    EXPECT_EQ(w->pixel_status, 0);
    clock.advance(100);
    EXPECT_EQ(args("clipboard_set"), (std::vector<std::string>{"7"}));
    EXPECT_EQ(args("send_keys"), (std::vector<std::string>{"7"}));
}

TEST_F(RunControlTest, HotKeysActOnlyOnAFreshPress) {
    start();
    // Start key "no" polls F13 (124); the abort key is not polled while idle.
    clock.advance(30);
    EXPECT_EQ(args("get_async_key_state"), (std::vector<std::string>{"124", "124", "124"}));

    w->com_0_startcode.set_text("F2");
    w->com_0_abbruchcode.set_text("ESC");
    platform.clear_calls();
    // Held down since before the first poll: never a start.
    platform.key_idle = -32768;
    clock.advance(100);
    EXPECT_FALSE(w->running());
    platform.key_idle = 0;
    platform.key_states[0x71] = {-32767};
    clock.advance(10);
    ASSERT_TRUE(w->running());
    const int64_t started = clock.now_ms();

    // While running only the abort key is polled, and -32768 (held) does not stop.
    platform.clear_calls();
    platform.key_states[0x1B] = {-32768, 1, -32767};
    clock.advance(20);
    EXPECT_TRUE(w->running());
    EXPECT_EQ(args("get_async_key_state"), (std::vector<std::string>{"27", "27"}));
    clock.advance(10);
    EXPECT_FALSE(w->running());
    EXPECT_EQ(clock.now_ms() - started, 30);

    // A new press after the run starts another one.
    platform.key_states[0x71] = {0, -32767};
    clock.advance(20);
    EXPECT_TRUE(w->running());
}

TEST_F(RunControlTest, DoubleClickRunsOneCommandOnly) {
    build({settings(250, 5), "code:|002|xpos:|5|ypos:|6|", "code:|007|pc:|input-enable|",
           "code:|010|xpos:|1|ypos:|1|break:|1|", "code:|007|pc:|lockpc|",
           "code:|007|pc:|shutdown|", "code:|005|start:|9|step:|2|"});
    auto dbl = [&](int line) {
        platform.clear_calls();
        w->lst_code.set_list_index(line);
        w->lst_code.on_dbl_click();
        EXPECT_FALSE(w->laden);
        return clock.now_ms();
    };
    show(w->txt_0_wait, "250");
    // Pause of the wait box, once, no driver.
    int64_t t = dbl(1);
    clock.advance(1000);
    EXPECT_EQ(trace(), (std::vector<std::string>{std::to_string(t + 250) + " set_cursor_pos 5 6"}));
    EXPECT_FALSE(w->running());
    EXPECT_EQ(w->lbl_hscaktuell.caption(), "1");

    dbl(2);  // input commands never run singly
    dbl(3);  // nor the pixel watch
    clock.advance(1000);
    EXPECT_TRUE(trace().empty());

    t = dbl(4);  // PC commands after 100 ms, whatever the box says
    clock.advance(1000);
    EXPECT_EQ(times("lock_workstation"), (std::vector<int64_t>{t + 100}));

    platform.message_box_answers = {kIdNo};
    t = dbl(5);
    clock.advance(1000);
    EXPECT_EQ(trace(), (std::vector<std::string>{std::to_string(t) + " message_box Möchten Sie "
                                                                     "diesen Befehl wirklich "
                                                                     "ausführen?"}));

    // A wait box below 1 runs the command after 10 ms.
    show(w->txt_0_wait, "0");
    t = dbl(1);
    clock.advance(100);
    EXPECT_EQ(times("set_cursor_pos"), (std::vector<int64_t>{t + 10}));

    // Nothing while a run is active.
    w->cmd_start.click();
    t = dbl(4);
    clock.advance(5);
    w->cmd_start.click();
    clock.advance(1000);
    EXPECT_TRUE(times("lock_workstation").empty());
}

TEST_F(RunControlTest, SingleRunsKeepTheCounterOfTheLastRun) {
    build({settings(10, 0), "code:|005|start:|9|step:|2|"});
    show(w->txt_0_wait, "10");
    // Before any run the next value is still empty.
    w->lst_code.set_list_index(1);
    w->lst_code.on_dbl_click();
    clock.advance(50);
    w->lst_code.on_dbl_click();
    clock.advance(50);
    EXPECT_EQ(args("clipboard_set"), (std::vector<std::string>{"", "2"}));

    platform.clear_calls();
    w->cmd_start.click();
    clock.advance(100);
    w->lst_code.set_list_index(1);
    w->lst_code.on_dbl_click();
    clock.advance(50);
    EXPECT_EQ(args("clipboard_set"), (std::vector<std::string>{"9", "11"}));
}

}  // namespace
}  // namespace mavorin

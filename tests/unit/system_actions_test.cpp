// Program launch, the PC commands, the CD door and finding the CD drives.
#include <gtest/gtest.h>

#include "engine_fixture.hpp"

namespace mavorin {
namespace {

class SystemActionsTest : public testing::MacroRun {
  protected:
    void with_drives(const std::vector<std::string>& cds) {
        platform.roots = {"C:\\"};
        platform.drive_types = {{"C:\\", 3}};
        for (const auto& d : cds) {
            platform.roots.push_back(d);
            platform.drive_types[d] = kDriveCdrom;
        }
    }
};

TEST_F(SystemActionsTest, ProgramPathLosesBarsAndGetsTheCounter) {
    run({settings(100, 0), "code:|005|start:|42|step:|1|", "code:|006|pfad:|/opt/run {CODE5}|",
         "code:|006|pfad:|x{code5}.sh|"});
    clock.advance(1000);
    EXPECT_EQ(trace(),
              (std::vector<std::string>{"110 clipboard_set 42", "210 run_program /opt/run 42",
                                        "310 run_program x42.sh", "310 block_input 0"}));
    EXPECT_EQ(w->befehl_wert1[2], "/opt/run 42");
    // A record cannot carry a bar, but a value set from outside the parser can.
    w->befehl_aktuell = 3;
    w->befehl_wert1[3] = "a|b{code5}|";
    w->system.programm_oeffnen();
    EXPECT_EQ(args("run_program").back(), "ab42");
}

TEST_F(SystemActionsTest, PcCommandWordsAreExact) {
    run({settings(100, 0), "code:|007|pc:|LOCKPC|", "code:|007|pc:|lockpc|",
         "code:|007|pc:|reboot|", "code:|007|pc:|shutdown|", "code:|007|pc:|screenoff|",
         "code:|007|pc:|input-disable|", "code:|007|pc:|input-enable|", "code:|007|pc:|sleep|"});
    clock.advance(2000);
    EXPECT_EQ(trace(), (std::vector<std::string>{"210 lock_workstation", "310 reboot",
                                                 "310 message_box reboot", "410 shutdown",
                                                 "510 monitor_off", "610 block_input 1",
                                                 "710 block_input 0", "810 block_input 0"}));
}

TEST_F(SystemActionsTest, EndStopsEverythingAndLeavesInputBlocked) {
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

TEST_F(SystemActionsTest, InputIsFreedAtTheEndOfTheLastPassButNotOnAbort) {
    run({settings(100, 1), "code:|007|pc:|input-disable|", "code:|002|xpos:|1|ypos:|1|"});
    clock.advance(1000);
    EXPECT_EQ(trace(), (std::vector<std::string>{"110 block_input 1", "210 set_cursor_pos 1 1",
                                                 "310 block_input 1", "410 set_cursor_pos 1 1",
                                                 "410 block_input 0"}));
    EXPECT_FALSE(platform.input_blocked);

    for (bool by_key : {true, false}) {
        restart_window();
        platform.key_states.clear();
        run({settings(100, 1), "code:|007|pc:|input-disable|", "code:|002|xpos:|1|ypos:|1|"});
        if (by_key) platform.key_states[0x1B] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -32767};
        clock.advance(150);
        if (!by_key) w->cmd_start.click();
        clock.advance(1000);
        EXPECT_FALSE(w->running());
        EXPECT_EQ(args("block_input"), (std::vector<std::string>{"1"})) << by_key;
        EXPECT_TRUE(platform.input_blocked);
    }
}

TEST_F(SystemActionsTest, CdDoorCommandsInOrder) {
    with_drives({"D:\\"});
    run({settings(100, 0), "code:|008|drive:|D:\\|move:|open|",
         "code:|008|drive:|E:\\|move:|close|", "code:|008|drive:|D:\\|move:|Close|"});
    clock.advance(1000);
    EXPECT_EQ(args("mci_send"),
              (std::vector<std::string>{
                  "Open D:\\ Type cdaudio Alias cd", "set cd door open", "close cd",
                  "Open E:\\ Type cdaudio Alias cd", "set cd door closed", "close cd",
                  "Open D:\\ Type cdaudio Alias cd", "set cd door open", "close cd"}));
    EXPECT_EQ(times("mci_send"),
              (std::vector<int64_t>{110, 110, 110, 210, 210, 210, 310, 310, 310}));

    restart_window();
    platform.roots.clear();
    const int64_t t0 = clock.now_ms();
    run({settings(100, 0), "code:|008|drive:|D:\\|move:|open|", "code:|002|xpos:|1|ypos:|1|"});
    clock.advance(1000);
    EXPECT_TRUE(w->kein_laufwerk);
    EXPECT_EQ(trace(t0), (std::vector<std::string>{"210 set_cursor_pos 1 1", "210 block_input 0"}));
}

TEST_F(SystemActionsTest, FindingDrivesFillsTheListOnceAndPreselectsTheFirst) {
    with_drives({"D:\\", "F:\\"});
    start();
    auto items = [&] {
        std::vector<std::string> v;
        for (int i = 0; i < w->com_8_laufwerk.list_count(); ++i)
            v.push_back(w->com_8_laufwerk.item(i));
        return v;
    };
    EXPECT_FALSE(w->kein_laufwerk);
    EXPECT_EQ(items(), (std::vector<std::string>{"D:\\", "F:\\"}));
    EXPECT_EQ(w->com_8_laufwerk.text(), "D:\\");
    EXPECT_EQ(w->com_8_move.text(), "Auswerfen");
    w->cmd_neu.click();
    w->system.laufwerke_einlesen();
    EXPECT_EQ(items(), (std::vector<std::string>{"D:\\", "F:\\"}));
    EXPECT_TRUE(w->com_8_laufwerk.enabled());

    restart_window();
    platform.roots = {"C:\\"};
    start();
    EXPECT_TRUE(w->kein_laufwerk);
    EXPECT_EQ(w->com_8_laufwerk.list_count(), 0);
    EXPECT_FALSE(w->com_8_laufwerk.enabled());
    EXPECT_FALSE(w->com_8_move.enabled());
    EXPECT_EQ(w->com_8_move.text(), "Auswerfen");
}

}  // namespace
}  // namespace mavorin

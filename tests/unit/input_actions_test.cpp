// Pointer, clicks, typed text and the counter, as they reach the desktop.
#include "engine/input_actions.hpp"

#include <gtest/gtest.h>

#include "engine_fixture.hpp"

namespace mavorin {
namespace {

class InputActionsTest : public testing::MacroRun {};

TEST_F(InputActionsTest, MouseProceduresSendOneEventPerEdge) {
    start();
    const std::vector<std::pair<int, std::vector<std::string>>> cases = {
        {0, {"2", "4"}}, {1, {"8", "16"}}, {2, {"32", "64"}}, {3, {}}, {-1, {}}};
    for (const auto& [button, want] : cases) {
        platform.clear_calls();
        int b = button;
        w->input.MouseClick(b);
        EXPECT_EQ(args("mouse_event"), want) << button;
        EXPECT_EQ(b, button);
    }
}

TEST_F(InputActionsTest, PointerMovesToRoundedPositionsAndClicksNeedTheExactWord) {
    run({settings(100, 0), "code:|002|xpos:|100.5|ypos:|101.5|", "code:|002|xpos:|abc|ypos:|-3.5|",
         "code:|002|xpos:|5000000000|ypos:|1|", "code:|003|mouseclick:|Left|",
         "code:|003|mouseclick:|middle|", "code:|003|mouseclick:|left|",
         "code:|003|mouseclick:|right|"});
    clock.advance(2000);
    EXPECT_EQ(trace(), (std::vector<std::string>{
                           "110 set_cursor_pos 100 102", "210 set_cursor_pos 0 -4",
                           // beyond the cursor call's range: nothing (310); "Left": nothing (410)
                           "510 mouse_event 32", "510 mouse_event 64", "610 mouse_event 2",
                           "610 mouse_event 4", "710 mouse_event 8", "710 mouse_event 16",
                           "710 block_input 0"}));
}

TEST_F(InputActionsTest, TypedTextIsEscapedThenModifiedThenGivenTheCounter) {
    const std::vector<std::pair<std::string, std::string>> table = {
        {"{SHIFT}a (1+1){ENTER}", "+a {(}1{+}1{)}{ENTER}"},
        {"50%", "50{%}"},
        {"{ALTGR}q", "^%q"},
        {"Nr. {CODE5}", "Nr. 8"},
        {"{code5}^~", "8{^}{~}"},
        {"{CTRL}c{ALT}{F4}", "^c%{F4}"},
        {"{shift}x", "{shift}x"},  // case matters
        {"{CODE5}", "8"}};
    for (const auto& [stored, sent] : table) EXPECT_EQ(tastatur_text(stored, "8"), sent) << stored;
    // The counter goes in last: its characters are not escaped.
    EXPECT_EQ(tastatur_text("{CODE5}", "-1+2"), "-1+2");
}

TEST_F(InputActionsTest, TypedTextIsStoredBackButTheRecordStaysAsWritten) {
    run({settings(100, 1), "code:|004|text:|{CODE5}+{code5}|", "code:|005|start:|8|step:|1|"});
    clock.advance(150);
    EXPECT_EQ(w->befehl_wert1[1], "0{+}0");
    EXPECT_EQ(w->befehl[1], "code:|004|text:|{CODE5}+{code5}|");
    clock.advance(1000);
    EXPECT_EQ(trace(), (std::vector<std::string>{"110 send_keys 0{+}0", "210 clipboard_set 8",
                                                 "310 send_keys 8{+}8", "410 clipboard_set 9",
                                                 "410 block_input 0"}));
}

TEST_F(InputActionsTest, OneCounterForTheWholeMacroAcrossPasses) {
    run({settings(10, 1), "code:|005|start:|5|step:|3|", "code:|005|start:|100|step:|3|",
         "code:|005|start:|1|step:|3|"});
    clock.advance(1000);
    EXPECT_EQ(args("clipboard_set"), (std::vector<std::string>{"5", "8", "11", "14", "17", "20"}));

    // A new run starts from the start value again.
    platform.clear_calls();
    w->cmd_start.click();
    clock.advance(1000);
    EXPECT_EQ(args("clipboard_set"), (std::vector<std::string>{"5", "8", "11", "14", "17", "20"}));
}

TEST_F(InputActionsTest, CounterIsClampedAndWrittenWithFifteenDigitsAtMost) {
    run({settings(10, 2), "code:|005|start:|99999999999990|step:|7|"});
    clock.advance(1000);
    EXPECT_EQ(args("clipboard_set"),
              (std::vector<std::string>{"99999999999990", "99999999999997", "99999999999999"}));

    restart_window();
    run({settings(10, 2), "code:|005|start:|-99999999999998|step:|-1.5|"});
    clock.advance(1000);
    EXPECT_EQ(args("clipboard_set"),
              (std::vector<std::string>{"-99999999999998", "-99999999999999", "-99999999999999"}));

    // 0.1 + 0.2 is 0.30000000000000004 in binary; fifteen digits give 0.3.
    restart_window();
    run({settings(10, 3), "code:|005|start:|0.1|step:|0.2|"});
    clock.advance(1000);
    EXPECT_EQ(args("clipboard_set"), (std::vector<std::string>{"0.1", "0.3", "0.5", "0.7"}));
}

}  // namespace
}  // namespace mavorin

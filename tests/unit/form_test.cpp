// The control model and the event loop: handler firing and timer order.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/form_table.hpp"
#include "app/frm_mavorin.hpp"
#include "form/controls.hpp"
#include "form/event_loop.hpp"
#include "platform/recording/recording_platform.hpp"

using namespace mavorin::form;

TEST(Controls, AssignmentFiresOnlyOnChangeAndNestedCorrectionsSettle) {
    TextBox box("txt", "500");
    std::vector<std::string> seen;
    box.on_change = [&] {
        seen.push_back(box.text());
        if (box.text() == "70000") box.set_text("60000");  // a correction re-runs the handler
    };
    box.set_text("500");
    box.set_text("70000");
    EXPECT_EQ(seen, (std::vector<std::string>{"70000", "60000"}));
}

TEST(EventLoop, TimersTickInTimeOrderAndSkipMissedPeriods) {
    VirtualClock clock;
    std::vector<std::string> log;
    Timer fast(clock, "fast", 10, false), slow(clock, "slow", 25, false);
    fast.on_tick = [&] { log.push_back("f" + std::to_string(clock.now_ms())); };
    slow.on_tick = [&] {
        log.push_back("s" + std::to_string(clock.now_ms()));
        slow.set_enabled(false);
    };
    fast.set_enabled(true);
    slow.set_enabled(true);
    clock.advance(30);
    EXPECT_EQ(log, (std::vector<std::string>{"f10", "f20", "s25", "f30"}));

    fast.set_interval(0);  // never fires
    clock.advance(110);
    EXPECT_EQ(log.size(), 4u);

    // A late loop ticks once for what it missed, then keeps the old phase.
    log.clear();
    fast.set_interval(10);  // due at 150
    {
        EventLoop::Hold hold(clock);
        clock.advance(35);
    }
    clock.advance(10);
    EXPECT_EQ(log, (std::vector<std::string>{"f175", "f180"}));
}

// A screen reader hears the window's own words, never a control's name; the words follow the model.
TEST(FormTable, SpeaksTheWindowsWordsNeverAControlName) {
    mavorin::form::VirtualClock clock;
    mavorin::RecordingPlatform platform(clock, ".");
    mavorin::frm_mavorin m(platform, clock);
    std::map<std::string, const mavorin::FormRow*> rows;
    for (const mavorin::FormRow& row : mavorin::form_table()) rows[row.control(m).name()] = &row;
    const auto spoken = [&](const std::string& name) { return spoken_name(*rows.at(name), m); };
    const std::pair<const char*, const char*> expected[] = {
        {"txt_0_wait", "Wartezeit nach jedem Befehl (ms)"},
        {"chk_0_listbox", "Code in Box anzeigen"},
        {"txt_1_random2", "Zufallszeit bis (ms)"},
        {"lbl_10_abbruch", "Abbruchbedingung nach: sek. (0 = nie)"},
        {"cmd_save2", "Speichern unter…"},
        {"img_befehl_left", "Anzahl verringern"},
        {"Image1", ""},
        {"frame_vantrel", ""}};
    for (const auto& [name, words] : expected) EXPECT_EQ(spoken(name), words) << name;
    for (const auto& [name, row] : rows) {
        const std::string words = spoken(name);
        EXPECT_TRUE(words.find('_') == std::string::npos && !rows.count(words)) << name << words;
        if (row->kind != mavorin::ControlKind::Label)
            EXPECT_EQ(words.empty(), row->decorative()) << name;
    }
    m.cmd_start.set_caption("Stop");
    m.lbl_info.set_caption("Welcher Befehl?");
    EXPECT_EQ(spoken("cmd_start"), "Stop");
    EXPECT_EQ(spoken_description(*rows.at("com_code"), m), "Welcher Befehl?");
}

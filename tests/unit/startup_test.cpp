// Start-up with and without files and command lines, New, closing, the header's window options.
#include <gtest/gtest.h>

#include "fixture.hpp"

namespace mavorin {
namespace {

class StartupTest : public testing::WindowTest {
  protected:
    void default_file(const std::string& header) {
        write_macro(
            "mavorin.mvn", header,
            {"code:|000|wait:|100|loop:|0|start:|F2|stop:|ESC|", "code:|002|xpos:|4|ypos:|5|"});
    }
};

TEST_F(StartupTest, WithoutFilesBuildsTheDefaultMacro) {
    start();
    EXPECT_EQ(w->befehl[0], "code:|000|wait:|500|loop:|1|start:|no|stop:|ESC|");
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(w->befehl[i], "code:|001|wait:|0|");
    EXPECT_EQ(w->befehl_anzahl, 3);
    EXPECT_FALSE(w->cmd_load.enabled());
    EXPECT_FALSE(w->laden);
    EXPECT_EQ(w->txt_6_pfad.text(), dir.path() + "/Mavorin.exe");
    EXPECT_EQ(w->txt_9_pfad.text(), dir.path() + "/screenshot.bmp");
    EXPECT_EQ(w->lst_code.items()[0], "00 - code: 000 wait: 500 loop: 1 start: no stop: ESC ");
    EXPECT_EQ(w->lst_code.items()[3], "003 - code: 001 wait: 0 ");
    EXPECT_TRUE(w->txt_0_wait.visible());  // the settings panel is shown
    EXPECT_EQ(w->cmd_start.caption(), "Start");
}

TEST_F(StartupTest, DefaultFileFollowsItsStartMode) {
    default_file(".mvn 0000 x");
    start();
    EXPECT_TRUE(w->cmd_load.enabled());
    EXPECT_EQ(w->befehl_anzahl, 3);  // mode 0: not loaded

    default_file(".mvn 1000 x");
    w = std::make_unique<frm_mavorin>(platform, clock);
    start();
    EXPECT_EQ(w->befehl_anzahl, 1);
    EXPECT_EQ(w->startname, "F2");
    EXPECT_EQ(w->cmd_start.caption(), "Start");

    default_file(".mvn 2000 x");
    w = std::make_unique<frm_mavorin>(platform, clock);
    start();
    EXPECT_EQ(w->cmd_start.caption(), "ESC=Stop");
}

TEST_F(StartupTest, QuotedCommandLineLoadsAndStartsUnquotedIsIgnored) {
    write_macro("cmd.mvn", ".mvn 0000 x",
                {"code:|000|wait:|100|loop:|0|start:|no|stop:|ESC|", "code:|002|xpos:|4|ypos:|5|"});
    platform.cmdline = "\"" + dir.file("cmd.mvn") + "\"";
    start();
    EXPECT_EQ(w->dateipfad, dir.file("cmd.mvn"));
    EXPECT_EQ(w->cmd_start.caption(), "ESC=Stop");
    clock.advance(200);
    EXPECT_EQ(platform.calls_of("set_cursor_pos").size(), 1u);

    platform.cmdline = dir.file("cmd.mvn");  // without quotes the extension is not seen
    w = std::make_unique<frm_mavorin>(platform, clock);
    start();
    EXPECT_EQ(w->dateipfad, "mavorin.mvn");
    EXPECT_EQ(w->befehl_anzahl, 3);

    platform.cmdline = "\"a\"";  // five characters or fewer: no command line
    w = std::make_unique<frm_mavorin>(platform, clock);
    start();
    EXPECT_EQ(w->dateipfad, "mavorin.mvn");

    platform.cmdline = "\"" + dir.file("nothing.mvn") + "\"";  // a missing file loads nothing
    w = std::make_unique<frm_mavorin>(platform, clock);
    start();
    EXPECT_EQ(w->dateipfad, dir.file("nothing.mvn"));
    EXPECT_EQ(w->cmd_start.caption(), "Start");
    EXPECT_FALSE(w->laden);
    EXPECT_FALSE(w->cmd_load.enabled());  // "Laden" stays as designed: disabled
    EXPECT_TRUE(w->txt_0_wait.visible());
}

TEST_F(StartupTest, WindowOptionsAndColourSchemeFromTheHeader) {
    default_file(".mvn 0300 x");
    start();
    EXPECT_EQ(w->chk_0_transparenz.value(), 1);
    EXPECT_EQ(w->chk_0_vordergrund.value(), 1);
    EXPECT_EQ(w->chk_0_listbox.value(), 1);
    EXPECT_TRUE(platform.topmost);
    EXPECT_TRUE(w->Timer_transparenz.enabled());

    default_file(".mvn 0402 x");
    w = std::make_unique<frm_mavorin>(platform, clock);
    start();
    EXPECT_EQ(w->chk_0_listbox.value(), 0);
    EXPECT_FALSE(w->lst_code.visible());
    EXPECT_EQ(w->form.back_color(), 0xE0F020u);
    EXPECT_EQ(w->frame_vantrel.back_color(), 0xE0F020u);
    EXPECT_EQ(w->img_mavorin.picture(), 1);

    default_file(".mvn 0903 x");
    w = std::make_unique<frm_mavorin>(platform, clock);
    start();
    EXPECT_FALSE(w->startup.show_in_taskbar);
    EXPECT_EQ(w->form.back_color(), 0x7070FFu);
}

// Each digit of the window options against two starting states, so that "unchanged" shows.
TEST_F(StartupTest, EveryWindowOptionDigit) {
    start();
    const int keep = -1;
    const int rows[10][3] = {{0, 0, 1},       {1, keep, keep},   {keep, 1, keep}, {1, 1, keep},
                             {keep, keep, 0}, {1, keep, 0},      {keep, 1, 0},    {1, 1, 0},
                             {0, 0, 1},       {keep, keep, keep}};
    const int starts[2][3] = {{0, 0, 1}, {1, 1, 0}};
    for (int digit = 0; digit <= 9; ++digit) {
        for (const auto& from : starts) {
            SCOPED_TRACE("digit " + std::to_string(digit) + " from " + std::to_string(from[0]));
            w->chk_0_transparenz.set_value(from[0]);
            w->chk_0_vordergrund.set_value(from[1]);
            w->chk_0_listbox.set_value(from[2]);
            w->kopfzeile = ".mvn 0" + std::to_string(digit) + "00 x";
            w->startup.form_eigenschaften();
            const int* row = rows[digit];
            EXPECT_EQ(w->chk_0_transparenz.value(), row[0] == keep ? from[0] : row[0]);
            EXPECT_EQ(w->chk_0_vordergrund.value(), row[1] == keep ? from[1] : row[1]);
            EXPECT_EQ(w->chk_0_listbox.value(), row[2] == keep ? from[2] : row[2]);
            EXPECT_EQ(w->lst_code.visible(), w->chk_0_listbox.value() == 1);
            EXPECT_EQ(platform.topmost, w->chk_0_vordergrund.value() == 1);
            // Only "9" hides the window from the task bar; the catch-all row shows it again.
            if (digit == 9) EXPECT_FALSE(w->startup.show_in_taskbar);
            if (digit == 0 || digit == 8) EXPECT_TRUE(w->startup.show_in_taskbar);
        }
    }
    w->kopfzeile = ".mvn 09";
    w->startup.form_eigenschaften();
    w->kopfzeile = ".mvn 03";  // a row of 1 to 7 leaves the task-bar setting alone
    w->startup.form_eigenschaften();
    EXPECT_FALSE(w->startup.show_in_taskbar);
}

TEST_F(StartupTest, ColourSchemesAndTheirAbsence) {
    start();
    EXPECT_EQ(w->img_mavorin.picture(), 0);
    EXPECT_EQ(w->form.back_color(), kStartColor);
    const unsigned colours[] = {0x60E020, 0xE0F020, 0x7070FF};
    for (int scheme = 1; scheme <= 3; ++scheme) {
        w->kopfzeile = ".mvn 000" + std::to_string(scheme);
        w->startup.form_eigenschaften();
        EXPECT_EQ(w->img_mavorin.picture(), scheme - 1);
        EXPECT_EQ(w->form.back_color(), colours[scheme - 1]);
        EXPECT_EQ(w->frame_vantrel.back_color(), colours[scheme - 1]);
    }
    for (const char* other : {".mvn 0000", ".mvn 0004", ".mvn 000x", ".mvn 00", ".mvn"}) {
        w->kopfzeile = other;
        w->startup.form_eigenschaften();
        EXPECT_EQ(w->img_mavorin.picture(), 2) << other;
        EXPECT_EQ(w->form.back_color(), 0x7070FFu) << other;
    }
}

TEST_F(StartupTest, NewResetsFieldsButKeepsTheColourScheme) {
    default_file(".mvn 1303 x");
    start();
    w->befehl_aktuell = 1;
    w->txt_0_wait.set_text("900");
    w->txt_4_eingabetext.set_text("abc");
    w->img_befehl_right.click();
    w->cmd_neu.click();
    EXPECT_EQ(w->befehl_anzahl, 3);
    EXPECT_EQ(w->txt_befehle.text(), "3");
    EXPECT_EQ(w->txt_0_wait.text(), "500");
    EXPECT_EQ(w->txt_4_eingabetext.text(), "");
    EXPECT_EQ(w->txt_9_pfad.text(), dir.path() + "/Screenshot.bmp");
    EXPECT_EQ(w->chk_0_transparenz.value(), 0);
    EXPECT_EQ(w->chk_0_listbox.value(), 1);
    EXPECT_FALSE(platform.topmost);
    EXPECT_EQ(w->form.back_color(), 0x7070FFu);
    EXPECT_TRUE(w->befehl[4].empty());  // all slots emptied first
    EXPECT_TRUE(w->cmd_load.enabled());
    EXPECT_EQ(w->befehl[0], "code:|000|wait:|500|loop:|1|start:|no|stop:|ESC|");
}

TEST_F(StartupTest, ClosingFreesInputAndEnds) {
    start();
    w->startup.Form_Unload();
    ASSERT_EQ(platform.calls_of("block_input").size(), 1u);
    EXPECT_EQ(platform.calls_of("block_input")[0].args, "0");
    EXPECT_EQ(platform.ended, 1);
    EXPECT_FALSE(w->Timer_befehlstart.enabled());
}

}  // namespace
}  // namespace mavorin

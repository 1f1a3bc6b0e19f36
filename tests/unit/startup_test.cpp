// Start-up with and without files and command lines, New, closing, the header's digits.
#include <gtest/gtest.h>

#include "fixture.hpp"

namespace mavorin {
namespace {

class StartupTest : public testing::WindowTest {
  protected:
    void restart() {
        w = std::make_unique<frm_mavorin>(platform, clock);
        start();
    }
    void macro(const std::string& name, const std::string& header) {
        write_macro(
            name, header,
            {"code:|000|wait:|100|loop:|0|start:|F2|stop:|ESC|", "code:|002|xpos:|4|ypos:|5|"});
    }
};

// The default file's header: start mode, window options and colour scheme, in that order.
TEST_F(StartupTest, DefaultFileFollowsItsHeader) {
    const std::tuple<const char*, int, const char*, bool, unsigned> cases[] = {
        {".mvn\xE4"
         "1400 x",
         1, "Start", false, kStartColor},
        {".mvn 2401 x", 1, "ESC=Stop", false, 0x60E020},
        {".mvn 0300 x", 3, "Start", true, kStartColor},  // no scheme: the start colour stays
        // The digits sit at fixed bytes of the Windows-1252 line; an umlaut is one of them.
        {".mvn \xE4"
         "302 x",
         3, "Start", true, 0xE0F020}};
    for (const auto& [header, commands, caption, on, colour] : cases) {
        SCOPED_TRACE(header);
        macro("mavorin.mvn", header);
        restart();
        EXPECT_EQ(w->befehl_anzahl, commands);
        EXPECT_EQ(w->startname, commands == 1 ? "F2" : "no");
        EXPECT_EQ(w->cmd_start.caption(), caption);
        EXPECT_EQ(platform.topmost, on);
        EXPECT_EQ(w->lst_code.visible(), on);
        EXPECT_EQ(w->form.back_color(), colour);
    }
}

TEST_F(StartupTest, QuotedCommandLineLoadsAndStartsUnquotedIsIgnored) {
    macro("cmd.mvn", ".mvn 0000 x");
    const std::string file = dir.file("cmd.mvn"), missing = dir.file("nothing.mvn");
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"\"" + file + "\"", file, "ESC=Stop"},
        {file, "mavorin.mvn", "Start"},     // without quotes the extension is not seen
        {"\"a\"", "mavorin.mvn", "Start"},  // five characters or fewer: none
        {"\"" + missing + "\"", missing, "Start"}};
    for (const auto& [cmdline, path, caption] : cases) {
        SCOPED_TRACE(cmdline);
        platform.cmdline = cmdline;
        restart();
        EXPECT_EQ(w->dateipfad, path);
        EXPECT_EQ(w->cmd_start.caption(), caption);
        EXPECT_EQ(w->befehl_anzahl, path == file ? 1 : 3);
    }
}

// Each digit of the window options from both box states, so that "unchanged" shows.
TEST_F(StartupTest, EveryWindowOptionDigit) {
    start();
    // Per digit: transparency, on top, list box; "-" keeps the box as it was.
    const char* rows[] = {"001", "1--", "-1-", "11-", "--0", "1-0", "-10", "110", "001", "---"};
    form::CheckBox* boxes[] = {&w->chk_0_transparenz, &w->chk_0_vordergrund, &w->chk_0_listbox};
    for (int digit = 0; digit <= 9; ++digit) {
        for (int from = 0; from <= 1; ++from) {
            SCOPED_TRACE("digit " + std::to_string(digit) + " from " + std::to_string(from));
            for (auto* box : boxes) box->set_value(from);
            w->kopfzeile = ".mvn 0" + std::to_string(digit) + "00 x";
            w->startup.form_eigenschaften();
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(boxes[i]->value(), rows[digit][i] == '-' ? from : rows[digit][i] - '0');
            // Only "9" hides the window from the task bar; 0 and 8 show it again.
            if (digit == 9 || digit == 0 || digit == 8)
                EXPECT_EQ(w->startup.show_in_taskbar, digit != 9);
        }
    }
}

TEST_F(StartupTest, NewResetsFieldsButKeepsTheColourScheme) {
    macro("mavorin.mvn", ".mvn 1303 x");
    start();
    w->befehl_aktuell = 1;
    w->txt_0_wait.set_text("900");
    w->txt_4_eingabetext.set_text("abc");
    w->img_befehl_right.click();
    w->cmd_neu.click();
    EXPECT_EQ(w->befehl_anzahl, 3);
    EXPECT_EQ(w->txt_0_wait.text() + w->txt_4_eingabetext.text(), "500");
    EXPECT_EQ(w->txt_9_pfad.text(), dir.path() + "/Screenshot.bmp");
    EXPECT_EQ(w->form.back_color(), 0x7070FFu);
    EXPECT_TRUE(w->befehl[4].empty());  // all slots emptied first
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

// Saving and loading macro files, the header readers, the dialogs and dropping a file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>

#include "fixture.hpp"

namespace mavorin {
namespace {

class MacroFileTest : public testing::WindowTest {
  protected:
    std::string lines_of(const std::vector<std::string>& records) {
        std::string s;
        for (const auto& r : records) s += r + "\r\n";
        return s;
    }
};

TEST_F(MacroFileTest, SaveAndLoadRoundTripByteForByte) {
    start();
    const std::string header_and_records =
        ".mvn 0000 x\r\n"
        "code:|000|wait:|250|loop:|2|start:|F5|stop:|F12|\r\n"
        "code:|004|text:|Grüße, \"Welt\" {ENTER}\xE4\x80|\r\n"
        "code:|009|pfad:|C:\\a b\\c.jpg <90%>|\r\n"
        "code:|006|pfad:|\x81\x8D\x8F\x90\x9D|\r\n";
    dir.write("in.mvn", header_and_records);
    w->dateipfad = "in.mvn";
    w->datei.cmd_load_Click();
    EXPECT_EQ(w->befehl_anzahl, 3);
    EXPECT_EQ(w->startcode, "&H74");
    EXPECT_EQ(w->abbruchcode, "&H7B");
    EXPECT_EQ(w->txt_0_wait.text(), "250");
    w->dateipfad = "out.mvn";
    w->datei.cmd_save_Click();
    const std::string out = dir.read("out.mvn");
    const std::string body = out.substr(out.find("\r\n") + 2);
    EXPECT_EQ(out.substr(0, 10), ".mvn 0000 ");
    const std::string banner = out.substr(0, out.find("\r\n"));
    EXPECT_NE(banner.find("Mavorin"), std::string::npos);
    EXPECT_NE(banner.find(MAVORIN_VERSION), std::string::npos);
    EXPECT_EQ(body, header_and_records.substr(header_and_records.find("\r\n") + 2));
}

TEST_F(MacroFileTest, SavingCorrectsPauseAndLoopFirst) {
    start();
    w->txt_0_wait.set_text("5");
    w->txt_0_loop.set_text("-2");
    w->dateipfad = "s.mvn";
    w->datei.cmd_save_Click();
    EXPECT_NE(dir.read("s.mvn").find("code:|000|wait:|10|loop:|0|start:|no|stop:|ESC|\r\n"),
              std::string::npos);
    EXPECT_TRUE(w->cmd_load.enabled());
}

TEST_F(MacroFileTest, LoadingCorrectsAndStopsWhereTheRecordsStop) {
    start();
    write_macro("a.mvn", ".mvn 0000",
                {"code:|000|wait:|70000|loop:|3|start:|no|stop:|ESC|", "code:|012|wait:|0|",
                 "code:|002|xpos:|1|ypos:|2|", "free text", "code:|002|xpos:|9|ypos:|9|"});
    w->dateipfad = "a.mvn";
    w->datei.cmd_load_Click();
    EXPECT_EQ(w->befehl_anzahl, 2);
    EXPECT_EQ(w->txt_0_wait.text(), "60000");
    EXPECT_EQ(w->befehl[0], "code:|000|wait:|60000|loop:|3|start:|no|stop:|ESC|");
    EXPECT_EQ(w->befehl[1], "code:|001|wait:|0|");
    EXPECT_EQ(w->txt_befehle.text(), "2");
    EXPECT_EQ(w->hsc_befehle.max(), 2);
    EXPECT_EQ(w->lst_code.list_count(), 3);
    EXPECT_FALSE(w->laden);
}

TEST_F(MacroFileTest, UnknownHotKeyNamesKeepThePreviousKeys) {
    start();
    write_macro("keys.mvn", ".mvn 0000",
                {"code:|000|wait:|100|loop:|1|start:|F5|stop:|F12|", "code:|001|wait:|0|"});
    write_macro("odd.mvn", ".mvn 0000",
                {"code:|000|wait:|100|loop:|1|start:|F13|stop:|f1|", "code:|001|wait:|0|"});
    w->dateipfad = "keys.mvn";
    w->datei.cmd_load_Click();
    w->dateipfad = "odd.mvn";
    w->datei.cmd_load_Click();
    EXPECT_EQ(w->startname, "F5");
    EXPECT_EQ(w->startcode, "&H74");
    EXPECT_EQ(w->abbruchname, "F12");
    EXPECT_EQ(w->abbruchcode, "&H7B");
    // Record 0 is rebuilt from the keys in force, so the file's odd names do not linger.
    EXPECT_EQ(w->befehl[0], "code:|000|wait:|100|loop:|1|start:|F5|stop:|F12|");
}

TEST_F(MacroFileTest, CharactersOutsideTheCodePageSaveAsQuestionMarks) {
    start();
    w->befehl[1] = "code:|004|text:|日本 ok|";
    w->dateipfad = "q.mvn";
    w->datei.cmd_save_Click();
    EXPECT_NE(dir.read("q.mvn").find("\r\ncode:|004|text:|?? ok|\r\n"), std::string::npos);
    w->datei.cmd_load_Click();
    EXPECT_EQ(w->befehl[1], "code:|004|text:|?? ok|");
}

TEST_F(MacroFileTest, ManyLinesGiveAtMost32000Commands) {
    start();
    std::vector<std::string> recs = {"code:|000|wait:|10|loop:|0|start:|no|stop:|ESC|"};
    for (int i = 0; i < 40000; ++i)
        recs.push_back("code:|002|xpos:|" + std::to_string(i) + "|ypos:|0|");
    write_macro("big.mvn", ".mvn 0000", recs);
    w->dateipfad = "big.mvn";
    w->datei.cmd_load_Click();
    EXPECT_EQ(w->befehl_anzahl, 32000);
    EXPECT_EQ(w->befehl[32000], "code:|002|xpos:|31999|ypos:|0|");
    EXPECT_EQ(w->lst_code.list_count(), 1000);  // the list shows 0..999 only
}

TEST_F(MacroFileTest, NonMacroFilesChangeNothing) {
    start();
    const auto before = w->befehl[1];
    write_macro("upper.mvn", ".MVN 0000", {"code:|002|xpos:|1|ypos:|2|"});
    w->dateipfad = "upper.mvn";
    w->datei.cmd_load_Click();
    EXPECT_EQ(w->dateipfad, "mavorin.mvn");
    EXPECT_EQ(w->befehl_anzahl, 3);
    EXPECT_EQ(w->befehl[1], before);

    // A record line beginning with "Code" ends the macro at once: nothing to load.
    write_macro("capital.mvn", ".mvn 0000", {"Code:|000|wait:|1|"});
    w->dateipfad = "capital.mvn";
    w->datei.cmd_load_Click();
    EXPECT_EQ(w->befehl_anzahl, 3);

    for (const char* bad : {"missing.mvn", ""}) {
        w->dateipfad = bad;
        w->datei.cmd_load_Click();
        EXPECT_EQ(w->befehl_anzahl, 3);
    }
    std::filesystem::create_directory(dir.file("folder.mvn"));
    w->dateipfad = "folder.mvn";
    w->datei.cmd_load_Click();
    EXPECT_EQ(w->befehl_anzahl, 3);
}

TEST_F(MacroFileTest, LineEndsOtherThanCrLfAlsoEndLines) {
    start();
    dir.write(
        "lf.mvn",
        ".mvn "
        "0000\ncode:|000|wait:|100|loop:|1|start:|no|stop:|ESC|\ncode:|002|xpos:|5|ypos:|6|\n");
    w->dateipfad = "lf.mvn";
    w->datei.cmd_load_Click();
    EXPECT_EQ(w->befehl_anzahl, 1);
    EXPECT_EQ(w->befehl[1], "code:|002|xpos:|5|ypos:|6|");
}

TEST_F(MacroFileTest, FailedSaveKeepsTheOldFile) {
    start();
    dir.write("keep.mvn", "old contents");
    // A file size limit makes the write fail half way, as a full disk would (also for root).
    struct rlimit old_limit;
    getrlimit(RLIMIT_FSIZE, &old_limit);
    auto old_handler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old_limit;
    small.rlim_cur = 40;
    setrlimit(RLIMIT_FSIZE, &small);
    w->dateipfad = "keep.mvn";
    w->datei.cmd_save_Click();
    setrlimit(RLIMIT_FSIZE, &old_limit);
    signal(SIGXFSZ, old_handler);
    EXPECT_EQ(dir.read("keep.mvn"), "old contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);  // no temporary file left behind

    w->dateipfad = dir.path();  // a folder: no file, no crash
    w->datei.cmd_save_Click();
    EXPECT_TRUE(std::filesystem::is_directory(dir.path()));
    w->dateipfad = dir.file("no/such/folder.mvn");
    w->datei.cmd_save_Click();
    EXPECT_FALSE(std::filesystem::exists(dir.file("no")));
}

TEST_F(MacroFileTest, DialogsAndDropGoThroughTheHeaderReader) {
    start();
    write_macro("d.mvn", ".mvn 1000",
                {"code:|000|wait:|100|loop:|1|start:|no|stop:|ESC|", "code:|002|xpos:|7|ypos:|8|"});
    w->datei.cmd_load2_Click();  // cancelled: nothing happens
    EXPECT_EQ(w->befehl_anzahl, 3);
    platform.open_dialog_answers.push_back(dir.file("d.mvn"));
    w->datei.cmd_load2_Click();
    EXPECT_EQ(w->befehl_anzahl, 1);
    EXPECT_EQ(platform.calls_of("open_file_dialog").back().args, ".mvn|*.mvn ");

    w->lst_code.on_drop({dir.file("d.mvn"), dir.file("d.mvn")});  // two files: nothing
    EXPECT_EQ(w->dateipfad, dir.file("d.mvn"));
    dir.write("text.mvn", "hello\r\n");
    w->lst_code.on_drop({dir.file("text.mvn")});
    EXPECT_EQ(w->dateipfad, "mavorin.mvn");
    EXPECT_EQ(w->befehl_anzahl, 1);

    platform.save_dialog_answers.push_back(dir.file("saved.mvn"));
    w->datei.cmd_save2_Click();
    EXPECT_TRUE(std::filesystem::exists(dir.file("saved.mvn")));
}

TEST_F(MacroFileTest, StartModeTwoStartsTheRunAtOnce) {
    start();
    write_macro("run.mvn", ".mvn 2000",
                {"code:|000|wait:|100|loop:|0|start:|no|stop:|ESC|", "code:|002|xpos:|7|ypos:|8|"});
    platform.open_dialog_answers.push_back(dir.file("run.mvn"));
    w->datei.cmd_load2_Click();
    EXPECT_EQ(w->cmd_start.caption(), "ESC=Stop");
    clock.advance(300);
    ASSERT_EQ(platform.calls_of("set_cursor_pos").size(), 1u);
    EXPECT_EQ(platform.calls_of("set_cursor_pos")[0].args, "7 8");
}

}  // namespace
}  // namespace mavorin

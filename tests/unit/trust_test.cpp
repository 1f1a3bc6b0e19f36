// Trust: the hash of a file, the store of approvals, and the question before an untrusted macro
// launches anything, on every way a run starts.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "document/macro_text.hpp"
#include "document/sha256/blocks.hpp"
#include "fixture.hpp"

namespace mavorin {
namespace {

TEST(Sha256, KnownAnswerFedInAnyPieces) {
    const std::string input(1000000, 'a');
    for (size_t piece : {1, 55, 64, 100000}) {
        Sha256 s;
        for (size_t at = 0; at < input.size(); at += piece)
            s.update(std::string_view(input).substr(at, piece));
        EXPECT_EQ(s.hex_digest(),
                  "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0")
            << "pieces of " << piece;
    }
}

// The processor's SHA instructions, where used, must agree with the plain code on any bytes.
TEST(Sha256, BlockCodeAgreesWithPlainCode) {
    unsigned char bytes[64 * 5];
    for (size_t i = 0; i < sizeof bytes; ++i) bytes[i] = static_cast<unsigned char>(i * 167 + 13);
    uint32_t a[8] = {1, 2, 3, 4, 5, 6, 7, 0xffffffff}, b[8];
    std::copy(a, a + 8, b);
    sha256_blocks(a, bytes, 5);
    sha256_blocks_portable(b, bytes, 5);
    EXPECT_TRUE(std::equal(a, a + 8, b));
    EXPECT_NE(a[0], 1u);
}

// The loader takes the bytes it read across many reads and past what it keeps unhashed, a save
// finds them in memory: both end with the line that stops the records, whatever ends the lines.
TEST(MacroDigest, LargeFilesHashExactlyTheBytesTheLoaderReads) {
    std::string records = ".mvn 0000 x\r\n";
    const char* ends[] = {"\r\n", "\n", "\r"};
    int n = 0;
    for (; records.size() < size_t{5} << 20; ++n)
        records +=
            "code:|" + std::to_string(n) + "|text:|" + std::string(160, 't') + "|" + ends[n % 3];
    // The rest of the file, and how much of it the loader reads.
    const std::pair<std::string, size_t> tails[] = {{"", 0}, {"stop\r\nx", 6}, {"stop\rcode\n", 5}};
    for (const auto& [tail, read] : tails) {
        const std::string file = records + tail;
        std::istringstream in(file);
        MacroText text;
        ASSERT_EQ(read_macro(in, text, file.size()), ReadResult::ok);
        EXPECT_EQ(text.sha256(), sha256_hex(file.substr(0, records.size() + read))) << tail;
        EXPECT_EQ(macro_digest(file), text.sha256());
        EXPECT_EQ(text.record_count(), static_cast<size_t>(n));
    }
    // Past the last record taken the loader only looks, here across the end of a 64 KB read:
    // what it looked at is not read, what it read before is.
    std::string full = ".mvn 0000 " + std::string(9190, 'x') + "\r\n";
    for (size_t i = 0; i < kMaxRecords; ++i) full += "code:|002|\r\n";
    ASSERT_EQ(full.size() % 65536, 65534u);
    std::istringstream in(full + "code:|006|pfad:|x|\r\n");
    MacroText text;
    ASSERT_EQ(read_macro(in, text, full.size()), ReadResult::ok);
    EXPECT_TRUE(text.beyond_limit);
    EXPECT_EQ(text.sha256(), sha256_hex(full));
    EXPECT_EQ(macro_digest(full + "code:|006|pfad:|x|\r\n"), text.sha256());
}

class TrustTest : public testing::WindowTest {
  protected:
    const std::string kSettings = "code:|000|wait:|100|loop:|0|start:|F9|stop:|ESC|";
    void macro(const std::string& name, const std::string& header,
               const std::vector<std::string>& commands) {
        std::vector<std::string> records = {kSettings};
        records.insert(records.end(), commands.begin(), commands.end());
        write_macro(name, header, records);
    }
    void open(const std::string& name) {
        platform.cmdline = "\"" + dir.file(name) + "\"";
        platform.clear_calls();
        platform.questions.clear();
        w = std::make_unique<frm_mavorin>(platform, clock);
        start();
        clock.advance(2000);
    }
    size_t launched() const { return platform.calls_of("run_program").size(); }
    void load(const char* name) {
        w->dateipfad = name;
        w->macro_file.cmd_load_Click();
    }
    // Questions asked by one start of the macro.
    size_t asks() {
        platform.questions.clear();
        w->cmd_start.click();
        clock.advance(1000);
        if (w->running()) w->cmd_start.click();
        return platform.questions.size();
    }
};

// Each way of starting asks once before any step; "Abbrechen" runs no step at all (the first
// command moves the pointer, so any step would show). "Ausführen" runs it.
TEST_F(TrustTest, EveryStartPathAsksOnce) {
    const std::vector<std::string> commands = {"code:|002|xpos:|1|ypos:|2|",
                                               "code:|006|pfad:|prog|", "code:|007|pc:|lockpc|"};
    macro("run.mvn", ".mvn 2000", commands);
    macro("load.mvn", ".mvn 0000", commands);
    auto laden = [&] {
        w->dateipfad = "load.mvn";
        w->macro_file.cmd_load_Click();
    };
    // Name, whether it acts before start-up, what it does.
    const std::tuple<std::string, bool, std::function<void()>> paths[] = {
        {"command line", true, [&] { platform.cmdline = "\"" + dir.file("load.mvn") + "\""; }},
        {"start mode 2", true, [&] { dir.write("mavorin.mvn", dir.read("run.mvn")); }},
        {"drop", false, [&] { w->lst_code.on_drop({dir.file("run.mvn")}); }},
        {"load dialog", false,
         [&] {
             platform.open_dialog_answers = {dir.file("run.mvn")};
             w->macro_file.cmd_load2_Click();
         }},
        {"Laden, Start", false,
         [&] {
             laden();
             w->cmd_start.click();
         }},
        {"start key", false,
         [&] {
             laden();
             platform.key_states[0x78] = {kKeyTapped};
         }},
        {"double click", false, [&] {
             laden();
             w->lst_code.set_list_index(2);
             w->lst_code.on_dbl_click();
         }}};
    int n = 0;
    for (const auto& [path, early, go] : paths) {
        for (int answer : {1, 0}) {
            SCOPED_TRACE(path + (answer ? ", Abbrechen" : ", Ausführen"));
            platform.data_folder = dir.file("data" + std::to_string(n++));
            std::filesystem::remove(dir.file("mavorin.mvn"));
            platform.cmdline.clear();
            platform.ask_answers = {answer};
            platform.questions.clear();
            platform.clear_calls();
            w = std::make_unique<frm_mavorin>(platform, clock);
            if (early) go();
            start();
            if (!early) go();
            clock.advance(3000);
            ASSERT_EQ(platform.questions.size(), 1u);
            const bool single = path == "double click";
            EXPECT_EQ(platform.questions[0].details,
                      single ? "Befehl 2: 006 prog" : "Befehl 2: 006 prog\nBefehl 3: 007 lockpc");
            EXPECT_EQ(launched(), answer ? 0u : 1u);
            EXPECT_EQ(platform.calls_of("set_cursor_pos").size(), answer || single ? 0u : 1u);
            EXPECT_EQ(w->cmd_start.caption(), "Start");
        }
    }
}

// A record without its code or value launches with what the slot held, as the run does.
TEST_F(TrustTest, MissingFieldsAreWhatTheSlotHeld) {
    start();
    // Record, the slot's code and value before, what launches ("" nothing).
    const std::tuple<const char*, const char*, std::string> rows[] = {
        {"code:|006|pfad:|own|", "1", "6 own"},
        {"code:|006|", "1", "6 held"},
        {"code|", "7", "7 held"},
        {"code:|002|pfad:|own|", "6", ""},
    };
    for (const auto& [record, code, launch] : rows) {
        w->befehl[2] = record;
        w->befehl_code[2] = code;
        w->befehl_wert1[2] = "held";
        std::string got;
        for (const LaunchCommand& l : launches_in(*w, 2, 2))
            got += std::to_string(l.code) + " " + l.value;
        EXPECT_EQ(got, launch) << record;
    }
}

// Nothing can hide in the list: runs of blanks and control characters are shown, nothing is
// cut off.
TEST_F(TrustTest, TheQuestionShowsEveryLaunchInFull) {
    const std::string hidden = "a" + std::string(200, ' ') + "; id > f";
    macro("m.mvn", ".mvn 0000",
          {"code:|002|xpos:|1|ypos:|2|", "code:|006|pfad:|" + hidden + "|",
           "code:|006|pfad:|touch a b\tc\x01\x7F|", "code:|007|pc:|reboot  |"});
    open("m.mvn");
    ASSERT_EQ(platform.questions.size(), 1u);
    std::string blanks;
    for (int i = 0; i < 200; ++i) blanks += "␣";
    EXPECT_EQ(platform.questions[0].details, "Befehl 2: 006 a" + blanks +
                                                 "; id > f\nBefehl 3: 006 touch a b␉c␁␡\n"
                                                 "Befehl 4: 007 reboot␣␣");
}

// What the user saves or builds is trusted; what comes from an untrusted file is not, also
// through the copy buffer; an approval trusts the file unless its launches were edited first.
TEST_F(TrustTest, WhatMakesAMacroTrusted) {
    macro("m.mvn", ".mvn 0000", {"code:|006|pfad:|prog|"});
    start();
    load("m.mvn");
    w->befehl_aktuell = 1;
    w->lst_code.set_selected(1, true);
    w->mnucopy.click();
    w->cmd_neu.click();
    EXPECT_EQ(asks(), 0u) << "a new macro";
    w->mnupaste.click();
    EXPECT_EQ(asks(), 1u) << "pasted from an untrusted macro";

    load("m.mvn");
    w->befehl_aktuell = 1;
    w->records.befehl_aktuellencode();
    w->panels.codesichtbar();
    w->txt_6_pfad.set_text("other");
    platform.ask_answers = {0};
    EXPECT_EQ(asks(), 1u) << "edited, approved";
    load("m.mvn");
    EXPECT_EQ(asks(), 1u) << "the file itself was not approved";
    platform.ask_answers = {0};
    EXPECT_EQ(asks(), 1u) << "unedited, approved";
    load("m.mvn");
    EXPECT_EQ(asks(), 0u) << "the file approved with what it launches";

    w->macro_file.cmd_save_Click();
    open("m.mvn");
    EXPECT_TRUE(platform.questions.empty()) << "the saved file";
}

// Trust guards what a file launches. A file that launches nothing opens trusted, so a launch
// the user adds is theirs; saved, it needs no approval, and a launch another program adds to
// it is asked about.
TEST_F(TrustTest, AFileThatLaunchesNothingNeedsNoApproval) {
    macro("moves.mvn", ".mvn 0000", {"code:|002|xpos:|1|ypos:|2|", "code:|002|xpos:|3|ypos:|4|"});
    start();
    load("moves.mvn");
    w->hsc_befehle.set_value(2);
    clock.advance(20);
    w->com_code.set_text(command_rows()[6].caption);
    w->txt_6_pfad.set_text("prog");
    ASSERT_EQ(launches_in(*w, 1, w->befehl_anzahl).size(), 1u);
    EXPECT_EQ(asks(), 0u) << "a launch the user added";

    load("moves.mvn");
    w->dateipfad = "saved.mvn";
    w->macro_file.cmd_save_Click();
    ASSERT_TRUE(w->macro_file.last_save.ok());
    dir.write("saved.mvn", dir.read("saved.mvn") + "code:|006|pfad:|prog|\r\n");
    open("saved.mvn");
    EXPECT_EQ(w->befehl_anzahl, 3);
    EXPECT_EQ(platform.questions.size(), 1u) << "a launch added by another program";
}

}  // namespace
}  // namespace mavorin

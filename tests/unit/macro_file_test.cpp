// Saving and loading macro files, bad files and bad places to save, the dialogs and dropping.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <tuple>

#include "fixture.hpp"

namespace mavorin {
namespace {

using namespace std::string_literals;
const std::string kSettings = "code:|000|wait:|100|loop:|1|start:|no|stop:|ESC|";

class MacroFileTest : public testing::WindowTest {
  protected:
    void SetUp() override {
        start();
        // A known macro in memory, so that "unchanged" means something.
        w->befehl[1] = "code:|002|xpos:|1|ypos:|1|";
        w->command_list.befehlsliste();
    }
    void load(const std::string& name) {
        w->dateipfad = name;
        w->macro_file.cmd_load_Click();
    }
    void save(const std::string& name) {
        w->dateipfad = name;
        w->macro_file.cmd_save_Click();
    }
    void expect_unchanged() {
        EXPECT_EQ(w->befehl_anzahl, 3);
        EXPECT_EQ(w->befehl[1], "code:|002|xpos:|1|ypos:|1|");
        EXPECT_FALSE(w->laden);
    }
};

TEST_F(MacroFileTest, SaveAndLoadRoundTripByteForByte) {
    const std::string records =
        "code:|000|wait:|250|loop:|2|start:|F5|stop:|F12|\r\n"
        "code:|004|text:|Grüße, \"Welt\" {ENTER}\xE4\x80|\r\n"
        "code:|009|pfad:|C:\\a b\\c.jpg <90%>|\r\n"
        "code:|006|pfad:|\x81\x8D\x8F\x90\x9D|\r\n";
    dir.write("in.mvn", ".mvn 0000 x\r\n" + records);
    load("in.mvn");
    EXPECT_EQ(w->befehl_anzahl, 3);
    EXPECT_EQ(w->startcode, "&H74");
    save("out.mvn");
    const std::string out = dir.read("out.mvn");
    const std::string banner = out.substr(0, out.find("\r\n"));
    EXPECT_EQ(banner.substr(0, 10), ".mvn 0000 ");
    EXPECT_NE(banner.find(std::string("Mavorin ") + MAVORIN_VERSION), std::string::npos);
    EXPECT_EQ(out.substr(banner.size() + 2), records);
}

TEST_F(MacroFileTest, BadFilesKeepTheMacroOrTakeWhatIsValid) {
    const std::string head = ".mvn 0000\r\n" + kSettings + "\r\n";
    const std::string five = "code:|002|xpos:|5|ypos:|5|";
    // Name, bytes, commands loaded (-1: the macro stays as it was), the last command.
    const std::tuple<const char*, std::string, int, std::string> cases[] = {
        {"empty", "", -1, ""},
        {"records start with Code", ".mvn 0000\r\nCode:|000|wait:|1|\r\n", -1, ""},
        {"one megabyte line", head + "code:|004|text:|" + std::string(1 << 20, 'x') + "|\r\n", 1,
         "code:|004|text:|" + std::string(1 << 20, 'x') + "|"},
        {"LF only", ".mvn 0000\n" + kSettings + "\n" + five + "\n", 1, five},
        {"no line end at the end", head + five, 1, five},
        {"invalid bytes", head + "code:|004|text:|\x81\xff\0\x9d|\r\n"s, 1,
         "code:|004|text:|\u0081\u00FF\0\u009D|"s},
        {"records without values", ".mvn 0000\r\ncode:|000\r\ncode:\r\ncode:|002|\r\n", 2,
         "code:|002|"},
        {"NUL in the header", ".mvn\0 0000\r\n"s + kSettings + "\r\n", 0, kSettings},
    };
    for (const auto& [name, bytes, commands, last] : cases) {
        SCOPED_TRACE(name);
        w = std::make_unique<frm_mavorin>(platform, clock);
        SetUp();
        dir.write("bad.mvn", bytes);
        load("bad.mvn");
        if (commands < 0) {
            expect_unchanged();
            continue;
        }
        EXPECT_EQ(w->befehl_anzahl, commands);
        EXPECT_EQ(w->befehl[commands], last);
        // The window stays usable: a run over whatever was loaded ends normally.
        w->cmd_start.click();
        clock.advance(20000);
        EXPECT_FALSE(w->running());
    }
}

// Past 32000 commands the dialog reads the file twice but says so once; a free line after
// exactly 32000 is no loss and says nothing.
TEST_F(MacroFileTest, PastTheLimitSaysSoOnce) {
    std::string head = ".mvn 1000\r\n" + kSettings + "\r\n";
    for (int i = 0; i < 32000; ++i) head += "code:|001|wait:|0|\r\n";
    for (const auto& [tail, notices] : {std::pair{"the end\r\n", 0u}, {"code:|001|\r\n", 1u}}) {
        dir.write("big.mvn", head + tail);
        platform.questions.clear();
        platform.open_dialog_answers = {dir.file("big.mvn")};
        w->macro_file.cmd_load2_Click();
        EXPECT_EQ(w->befehl_anzahl, 32000);
        EXPECT_EQ(platform.questions.size(), notices);
    }
}

TEST_F(MacroFileTest, PathsThatAreNotReadableFilesChangeNothing) {
    std::filesystem::create_directory(dir.file("folder.mvn"));
    mkfifo(dir.file("fifo.mvn").c_str(), 0600);  // would block a naive reader forever
    dir.write("locked.mvn", ".mvn 1000\r\n");
    chmod(dir.file("locked.mvn").c_str(), 0);
    for (const char* name :
         {"missing.mvn", "folder.mvn", "fifo.mvn", "locked.mvn", "", "/dev/null"}) {
        SCOPED_TRACE(name);
        load(name);
        expect_unchanged();
        w->macro_file.beginn_lesedatei();
        expect_unchanged();
    }
}

TEST_F(MacroFileTest, SavingNeverDestroysTheOldFile) {
    const std::string old = ".mvn 0000 old\r\n" + kSettings + "\r\n";
    dir.write("old.mvn", old);

    // A full disk, as a size limit: the write fails half way (also for root).
    struct rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    auto handler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    save("old.mvn");
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, handler);
    EXPECT_EQ(dir.read("old.mvn"), old);
    // No temporary file left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    EXPECT_EQ(w->macro_file.last_save.error, SaveError::too_large);
    save("old.mvn");
    EXPECT_TRUE(w->macro_file.last_save.ok());
    EXPECT_NE(dir.read("old.mvn"), old);
}

}  // namespace
}  // namespace mavorin

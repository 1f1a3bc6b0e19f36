// Bad macro files and bad places to save: never a crash, never a partial or destroyed old file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>

#include "fixture.hpp"

namespace mavorin {
namespace {

class BadFileTest : public testing::WindowTest {
  protected:
    void SetUp() override {
        start();
        // A known macro in memory, so that "unchanged" means something.
        w->befehl[1] = "code:|002|xpos:|1|ypos:|1|";
        w->liste.befehlsliste();
    }
    void load(const std::string& name) {
        w->dateipfad = name;
        w->datei.cmd_load_Click();
    }
    void expect_unchanged() {
        EXPECT_EQ(w->befehl_anzahl, 3);
        EXPECT_EQ(w->befehl[1], "code:|002|xpos:|1|ypos:|1|");
        EXPECT_FALSE(w->laden);
    }
};

TEST_F(BadFileTest, LoadingBadFilesKeepsTheMacroOrTakesWhatIsValid) {
    std::mt19937 rng(42);
    std::string garbage(64 * 1024, '\0');
    for (auto& c : garbage) c = static_cast<char>(rng());
    const std::string settings = "code:|000|wait:|100|loop:|1|start:|no|stop:|ESC|";
    struct Case {
        const char* name;
        std::string bytes;
        int commands;  // -1: the macro stays as it was
    } cases[] = {
        {"empty", "", -1},
        {"header only", ".mvn 0000 x\r\n", -1},
        {"header without line end", ".mvn 0000", -1},
        {"binary garbage", garbage, -1},
        {"garbage after a valid header", ".mvn 0000\r\n" + garbage, -1},
        {"one megabyte line",
         ".mvn 0000\r\n" + settings + "\r\ncode:|004|text:|" + std::string(1 << 20, 'x') + "|\r\n",
         1},
        {"LF only", ".mvn 0000\n" + settings + "\ncode:|002|xpos:|5|ypos:|5|\n", 1},
        {"CR only", ".mvn 0000\r" + settings + "\rcode:|002|xpos:|5|ypos:|5|\r", 1},
        {"invalid bytes", ".mvn 0000\r\n" + settings + "\r\ncode:|004|text:|\x81\xff\x00\x9d|\r\n",
         1},
        {"no line end at the end", ".mvn 0000\r\n" + settings + "\r\ncode:|002|xpos:|5|ypos:|5|",
         1},
        {"records without values", ".mvn 0000\r\ncode:|000\r\ncode:\r\ncode:|002|\r\n", 2},
        {"NUL in the header", std::string(".mvn\0 0000\r\n", 11) + settings + "\r\n", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        w = std::make_unique<frm_mavorin>(platform, clock);
        SetUp();
        dir.write("bad.mvn", c.bytes);
        load("bad.mvn");
        if (c.commands < 0)
            expect_unchanged();
        else
            EXPECT_EQ(w->befehl_anzahl, c.commands);
        // The window stays usable: a run over whatever was loaded ends normally.
        w->cmd_start.click();
        clock.advance(20000);
        EXPECT_FALSE(w->running());
    }
    std::string big = ".mvn 0000\r\n" + settings + "\r\n";
    for (int i = 0; i < 40000; ++i) big += "code:|001|wait:|0|\r\n";
    dir.write("big.mvn", big);
    load("big.mvn");
    EXPECT_EQ(w->befehl_anzahl, 32000);
}

TEST_F(BadFileTest, PathsThatAreNotReadableFilesChangeNothing) {
    std::filesystem::create_directory(dir.file("folder.mvn"));
    mkfifo(dir.file("fifo.mvn").c_str(), 0600);  // would block a naive reader forever
    for (const char* name : {"missing.mvn", "folder.mvn", "fifo.mvn", "", "/dev/null"}) {
        SCOPED_TRACE(name);
        load(name);
        expect_unchanged();
        w->datei.beginn_lesedatei();
        expect_unchanged();
    }
}

TEST_F(BadFileTest, SavingNeverDestroysTheOldFile) {
    const std::string old = ".mvn 0000 old\r\ncode:|000|wait:|10|loop:|0|start:|no|stop:|ESC|\r\n";
    dir.write("old.mvn", old);

    // A full disk, as a size limit: the write fails half way.
    struct rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    auto handler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    w->dateipfad = "old.mvn";
    w->datei.cmd_save_Click();
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, handler);
    EXPECT_EQ(dir.read("old.mvn"), old);

    // Over a read-only file: either replaced whole (root) or left alone, never cut short.
    chmod(dir.file("old.mvn").c_str(), 0444);
    w->datei.cmd_save_Click();
    const std::string now = dir.read("old.mvn");
    EXPECT_TRUE(now == old || now.find("code:|002|xpos:|1|ypos:|1|\r\n") != std::string::npos);

    for (const std::string& bad :
         {dir.file("missing/dir/x.mvn"), std::string("/proc/version"), dir.path()}) {
        w->dateipfad = bad;
        w->datei.cmd_save_Click();
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
    size_t files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file();
    EXPECT_EQ(files, 1u);  // no temporary files left behind
}

}  // namespace
}  // namespace mavorin

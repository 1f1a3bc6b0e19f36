// The failure log: line format, where it goes, and rotation at the size limit.
#include "platform/log.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <tuple>

#include "fixture.hpp"

namespace mavorin {
namespace {

using std::chrono::seconds;
using std::chrono::system_clock;

TEST(FailureLog, LinesCarryUtcTimeOperationAndReasonOnOneLine) {
    const std::tuple<long long, const char*, const char*, const char*> cases[] = {
        {1000000000, "cd door", "/dev/sr0: No medium found",
         "2001-09-09T01:46:40Z cd door: /dev/sr0: No medium found"},
        {951782399, "launch", "a\r\nb", "2000-02-28T23:59:59Z launch: a  b"},
        {951782400, "write /x.bmp", "Keine Schreibrechte",
         "2000-02-29T00:00:00Z write /x.bmp: Keine Schreibrechte"},
    };
    for (const auto& [epoch, operation, reason, line] : cases)
        EXPECT_EQ(log_line(system_clock::time_point(seconds(epoch)), operation, reason), line);
}

TEST(FailureLog, FileRotatesAtTheLimitKeepingOneOldFile) {
    testing::TempFolder dir;
    const std::filesystem::path file = dir.file("state/mavorin/mavorin.log");
    RotatingLogFile log(file, 60);
    EXPECT_TRUE(std::filesystem::is_directory(file.parent_path()));
    EXPECT_FALSE(std::filesystem::exists(file));  // no line, no file
    // Each line is 21 bytes with its end: two fit in 60, the third starts a new file.
    for (char n = '1'; n <= '5'; ++n) log.write(std::string(19, n) + "!");
    const std::string line3 = std::string(19, '3') + "!\n", line4 = std::string(19, '4') + "!\n";
    EXPECT_EQ(dir.read("state/mavorin/mavorin.log"), std::string(19, '5') + "!\n");
    EXPECT_EQ(dir.read("state/mavorin/mavorin.log.1"), line3 + line4);
    EXPECT_FALSE(std::filesystem::exists(dir.file("state/mavorin/mavorin.log.2")));
}

TEST(FailureLog, FileLivesInTheXdgStateFolder) {
    const char* cases[][3] = {
        {"/s", "/h", "/s/mavorin/mavorin.log"},
        {nullptr, "/h", "/h/.local/state/mavorin/mavorin.log"},
        {"relative", "/h", "/h/.local/state/mavorin/mavorin.log"},
        {nullptr, nullptr, ""},
    };
    for (const auto& [state, home, path] : cases)
        EXPECT_EQ(xdg_log_path(state, home).generic_string(), path) << (state ? state : "unset");
}

}  // namespace
}  // namespace mavorin

// How a program launch's command text splits into a program and its arguments, or a document.
#include "platform/command_text.hpp"

#include <gtest/gtest.h>

#include <set>

namespace mavorin {
void PrintTo(const Launch& l, std::ostream* os) {
    *os << static_cast<int>(l.kind) << " [" << l.file << "]";
    for (const auto& a : l.arguments) *os << " [" << a << "]";
}

namespace {

using K = Launch::Kind;

TEST(CommandText, SplitsAsAWindowsCommandLine) {
    const std::set<std::string> programs = {"/usr/bin/touch", "/usr/bin/mein tool",
                                            "/opt/Mein Programm/start prog", "/home/u/prog.sh",
                                            "/home/u/mein skript.sh"};
    const std::set<std::string> documents = {"/home/u/notiz"};
    CommandLookup lookup{
        {"/usr/local/bin", "", "/usr/bin"},
        "/home/u",
        [&](const std::string& p) { return programs.count(p) > 0; },
        [&](const std::string& p) { return programs.count(p) > 0 || documents.count(p) > 0; }};
    const struct {
        std::string text;
        Launch want;
    } cases[] = {
        // Shell syntax is only words; no second command.
        {"touch $(id) `id` a|b", {K::program, "/usr/bin/touch", {"$(id)", "`id`", "a|b"}}},
        // Windows quoting and backslashes.
        {R"(touch a\"b "c""d" \\\\"e f" g\h)",
         {K::program, "/usr/bin/touch", {"a\"b", "c\"d", "\\\\e f", "g\\h"}}},
        {R"(touch "" "x)", {K::program, "/usr/bin/touch", {"", "x"}}},
        // Shortest executable prefix first; a bare name with blanks found here.
        {"  mein tool  x  ", {K::program, "/usr/bin/mein tool", {"x"}}},
        {"mein skript.sh", {K::program, "/home/u/mein skript.sh", {}}},
        {"\"prog.sh\" \"1 2\"", {K::program, "/home/u/prog.sh", {"1 2"}}},
        {"\"notiz\" x", {K::document, "/home/u/notiz", {}}},
        // Nothing to start.
        {"", {}},
        {"/no/such/prog arg", {}},
        {"\"/opt/Mein Programm\" start", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(split_command_text(c.text, lookup), c.want) << c.text;
}

}  // namespace
}  // namespace mavorin

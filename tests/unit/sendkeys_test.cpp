// The brace notation parser every backend types from.
#include "platform/sendkeys.hpp"

#include <gtest/gtest.h>

namespace mavorin {
namespace {

using Taps = std::vector<KeyTap>;
constexpr unsigned S = kModShift, C = kModCtrl, A = kModAlt;

TEST(SendKeys, AcceptedText) {
    const struct {
        const char* text;
        Taps taps;
    } cases[] = {
        {"", {}},
        {"aÄ€😀", {{0, 'a'}, {0, U'Ä'}, {0, U'€'}, {0, U'😀'}}},
        {"\xE4x", {{0, U'ä'}, {0, 'x'}}},  // stray bytes read as Latin-1
        {"+a b", {{S, 'a'}, {0, ' '}, {0, 'b'}}},
        {"^%q", {{C | A, 'q'}}},
        {"+(a^(b)c)d", {{S, 'a'}, {S | C, 'b'}, {S, 'c'}, {0, 'd'}}},
        {"+()a", {{0, 'a'}}},
        {"^{ENTER}+{+}%~", {{C, 0, NamedKey::Enter}, {S, '+'}, {A, 0, NamedKey::Enter}}},
        {"{a 3}", {{0, 'a'}, {0, 'a'}, {0, 'a'}}},
        {"{+ 2}{} 2}", {{0, '+'}, {0, '+'}, {0, '}'}, {0, '}'}}},
        {"x{LEFT 0}", {{0, 'x'}}},
        // A modifier holds across the repeats: "+{LEFT 2}" selects two characters.
        {"+{LEFT 2}a", {{S, 0, NamedKey::Left}, {S, 0, NamedKey::Left}, {0, 'a'}}},
    };
    for (const auto& c : cases) {
        auto r = parse_sendkeys(c.text);
        ASSERT_TRUE(r.has_value()) << c.text;
        EXPECT_EQ(*r, c.taps) << c.text;
    }
    EXPECT_EQ(parse_sendkeys("{TAB 120}")->size(), 120u);
}

TEST(SendKeys, MalformedTextIsRejectedWhole) {
    for (const char* bad :
         {"{ENTER", "a}", "(ab", "ab)", "{shift}", "{NOPE}", "{}", "+", "{a x}", "{LEFT 99999}",
          "{LEFT x}", "{LEFT -1}", "{ 2}", "+)", "(+)", "^", "a%", "((a)"})
        EXPECT_FALSE(parse_sendkeys(bad).has_value()) << bad;
}

}  // namespace
}  // namespace mavorin

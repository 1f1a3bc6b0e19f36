// The brace notation parser every backend types from.
#include "platform/sendkeys.hpp"

#include <gtest/gtest.h>

namespace mavorin {
namespace {

std::vector<KeyTap> parse(const char* s) {
    auto r = parse_sendkeys(s);
    EXPECT_TRUE(r.has_value()) << s;
    return r.value_or(std::vector<KeyTap>{});
}

TEST(SendKeys, CharactersModifiersGroupsAndNamedKeys) {
    EXPECT_EQ(parse("aÄ€"), (std::vector<KeyTap>{{0, 'a'}, {0, U'Ä'}, {0, U'€'}}));
    EXPECT_EQ(parse("+a b"), (std::vector<KeyTap>{{kModShift, 'a'}, {0, ' '}, {0, 'b'}}));
    EXPECT_EQ(parse("^%q"), (std::vector<KeyTap>{{kModCtrl | kModAlt, 'q'}}));
    EXPECT_EQ(parse("+(ab)c"), (std::vector<KeyTap>{{kModShift, 'a'}, {kModShift, 'b'}, {0, 'c'}}));
    EXPECT_EQ(parse("~{enter}{F5}{LEFT 3}"), (std::vector<KeyTap>{{0, 0, NamedKey::Enter},
                                                                  {0, 0, NamedKey::Enter},
                                                                  {0, 0, NamedKey::F5},
                                                                  {0, 0, NamedKey::Left},
                                                                  {0, 0, NamedKey::Left},
                                                                  {0, 0, NamedKey::Left}}));
    EXPECT_EQ(parse("{+}{^}{%}{~}{(}{)}{{}{}}"),
              (std::vector<KeyTap>{
                  {0, '+'}, {0, '^'}, {0, '%'}, {0, '~'}, {0, '('}, {0, ')'}, {0, '{'}, {0, '}'}}));
    EXPECT_TRUE(parse("").empty());
}

TEST(SendKeys, MalformedTextIsRejectedWhole) {
    for (const char* bad : {"{ENTER", "a}", "(ab", "ab)", "{shift}", "{NOPE}", "{}", "+", "{a x}"})
        EXPECT_FALSE(parse_sendkeys(bad).has_value()) << bad;
}

}  // namespace
}  // namespace mavorin

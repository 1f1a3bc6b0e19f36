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

TEST(SendKeys, RepeatCountsApplyToNamedKeysAndLiterals) {
    EXPECT_EQ(parse("{a 3}"), (std::vector<KeyTap>{{0, 'a'}, {0, 'a'}, {0, 'a'}}));
    EXPECT_EQ(parse("{+ 2}{} 2}"), (std::vector<KeyTap>{{0, '+'}, {0, '+'}, {0, '}'}, {0, '}'}}));
    EXPECT_EQ(parse("{eNtEr 2}"),
              (std::vector<KeyTap>{{0, 0, NamedKey::Enter}, {0, 0, NamedKey::Enter}}));
    EXPECT_TRUE(parse("x{LEFT 0}") == (std::vector<KeyTap>{{0, 'x'}}));
    EXPECT_EQ(parse("{TAB 120}").size(), 120u);
    // A modifier holds across the repeats: "+{LEFT 2}" selects two characters.
    EXPECT_EQ(parse("+{LEFT 2}a"),
              (std::vector<KeyTap>{
                  {kModShift, 0, NamedKey::Left}, {kModShift, 0, NamedKey::Left}, {0, 'a'}}));
    for (const char* bad : {"{LEFT 99999}", "{LEFT x}", "{LEFT -1}", "{ 2}"})
        EXPECT_FALSE(parse_sendkeys(bad).has_value()) << bad;
}

TEST(SendKeys, ModifiersReachNamedKeysLiteralsAndNestedGroups) {
    EXPECT_EQ(parse("^{ENTER}+{+}%~"), (std::vector<KeyTap>{{kModCtrl, 0, NamedKey::Enter},
                                                            {kModShift, '+'},
                                                            {kModAlt, 0, NamedKey::Enter}}));
    EXPECT_EQ(parse("+(a^(b)c)d"),
              (std::vector<KeyTap>{
                  {kModShift, 'a'}, {kModShift | kModCtrl, 'b'}, {kModShift, 'c'}, {0, 'd'}}));
    EXPECT_EQ(parse("+^%{F12}"),
              (std::vector<KeyTap>{{kModShift | kModCtrl | kModAlt, 0, NamedKey::F12}}));
    EXPECT_TRUE(parse("+()a") == (std::vector<KeyTap>{{0, 'a'}}));
    for (const char* bad : {"+)", "(+)", "^", "a%", "((a)"})
        EXPECT_FALSE(parse_sendkeys(bad).has_value()) << bad;
}

TEST(SendKeys, AnyUtf8CharacterIsOneTapAndStrayBytesReadAsLatin1) {
    EXPECT_EQ(parse("€µ😀"), (std::vector<KeyTap>{{0, U'€'}, {0, U'µ'}, {0, U'😀'}}));
    EXPECT_EQ(parse("\xE4x"), (std::vector<KeyTap>{{0, U'ä'}, {0, 'x'}}));
    EXPECT_EQ(parse("\xC3"), (std::vector<KeyTap>{{0, U'Ã'}}));
}

}  // namespace
}  // namespace mavorin

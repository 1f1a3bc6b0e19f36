// Windows-1252 at the file boundary: every byte survives, foreign characters become "?".
#include "document/codepage.hpp"

#include <gtest/gtest.h>

namespace mavorin {
namespace {

TEST(Codepage, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string text = cp1252_to_utf8(all);
    EXPECT_EQ(utf8_to_cp1252(text), all);
    EXPECT_EQ(text.substr(0, 128), all.substr(0, 128));  // ASCII stays as it is
}

TEST(Codepage, MapsTheWindowsCharactersAndTheFiveUndefinedBytes) {
    EXPECT_EQ(cp1252_to_utf8("\xE4\xF6\xFC\xC4\xD6\xDC\xDF"), "äöüÄÖÜß");
    EXPECT_EQ(cp1252_to_utf8("\x80\x84\x93\x94\x96\x9F"), "€„“”–Ÿ");
    // The undefined bytes become the C1 controls of the same number.
    EXPECT_EQ(cp1252_to_utf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(utf8_to_cp1252("Grüße, \"Welt\" €"),
              "Gr\xFC\xDF"
              "e, \"Welt\" \x80");
}

TEST(Codepage, CharactersOutsideTheCodePageSaveAsQuestionMarks) {
    EXPECT_EQ(utf8_to_cp1252("日本"), "??");
    EXPECT_EQ(utf8_to_cp1252("a😀b"), "a?b");                // four bytes, one character
    EXPECT_EQ(utf8_to_cp1252("\u0080\u009F"), "??");        // C1 controls whose bytes are taken
    EXPECT_EQ(utf8_to_cp1252("\u0152\u0153"), "\x8C\x9C");  // Œ œ are in the code page
    // Broken UTF-8: each stray byte is one "?", the text after it survives.
    EXPECT_EQ(utf8_to_cp1252("a\xFF"
                             "b"),
              "a?b");
    EXPECT_EQ(utf8_to_cp1252("x\xC3"), "x?");
    EXPECT_EQ(utf8_to_cp1252("\xE2\x82"
                             "c"),
              "??c");
    EXPECT_EQ(utf8_to_cp1252(std::string("\0z", 2)), std::string("\0z", 2));
}

}  // namespace
}  // namespace mavorin

// Number reading and text, the code page at the file boundary, building and parsing records.
#include "document/records.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <tuple>

#include "commandlist/command_list.hpp"
#include "document/codepage.hpp"
#include "fixture.hpp"

namespace mavorin {
namespace {

using namespace std::string_literals;
using Text = const char*;

TEST(WertAusText, ReadsLeadingNumbersLeniently) {
    // Blanks are skipped anywhere, the comma is never a decimal point, 9 is no octal digit.
    const std::pair<std::string, double> cases[] = {
        {"12abc", 12},   {"", 0},        {"abc", 0},   {"1 2\t3", 123}, {"1\n2", 12},
        {"-3.5x", -3.5}, {"1.2.3", 1.2}, {".5", 0.5},  {"+7", 7},       {"-", 0},
        {"--5", 0},      {"+-5", 0},     {".", 0},     {"2,5", 2},      {"&H7C", 124},
        {"&h1b", 27},    {"& H1F", 31},  {"&H", 0},    {"&Hzz", 0},     {"&X12", 0},
        {"&O17", 15},    {"&O19", 1},    {"&O", 0},    {"1E3", 1000},   {"2D-1", 0.2},
        {"1.5e+2", 150}, {"5E", 5},      {"1E999", 0}, {"7\0"s, 7}};
    for (const auto& [text, value] : cases) EXPECT_EQ(wert_aus_text(text), value) << text;
    // Hundreds of digits overflow: no number, not infinity.
    for (const auto& text :
         {std::string(400, '9'), "&H" + std::string(400, 'F'), "&O" + std::string(500, '7')})
        EXPECT_EQ(wert_aus_text(text), 0) << text;
}

// Whole numbers never carry a separator; fractions take the one of LC_NUMERIC, and reading
// keeps "." as the only decimal point whatever the locale says.
TEST(NumberText, WholeNumbersPlainFractionsShortestInTheNumericLocale) {
    const std::pair<double, const char*> cases[] = {{-3, "-3"},
                                                    {-0.0, "0"},
                                                    {2.5, "2.5"},
                                                    {0.1 + 0.2, "0.3"},
                                                    {99999999999999.0, "99999999999999"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(number_text(value), text);
    EXPECT_EQ(round_half_even(100.5) + round_half_even(-2.5), 98);  // halves to the even neighbour
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE"))
        GTEST_SKIP() << "no German locale installed";
    EXPECT_EQ(number_text(-0.125) + number_text(500), "-0,125500");
    EXPECT_EQ(wert_aus_text("2.5") + wert_aus_text("2,5"), 4.5);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Codepage, EveryByteRoundTripsAndForeignCharactersBecomeQuestionMarks) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(utf8_to_cp1252(cp1252_to_utf8(all)), all);
    EXPECT_EQ(cp1252_to_utf8(all).substr(0, 128), all.substr(0, 128));
    EXPECT_EQ(cp1252_to_utf8("\xE4\xF6\xFC\xC4\xD6\xDC\xDF\x80\x84\x93\x96\x9F"), "äöüÄÖÜß€„“–Ÿ");
    // The undefined bytes become the C1 controls of the same number.
    EXPECT_EQ(cp1252_to_utf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
    // Each stray byte of broken UTF-8 is one "?", and the text after it survives.
    const std::pair<std::string, std::string> cases[] = {
        {"日本", "??"},    {"a😀b", "a?b"},  {"\u0080\u009F", "??"}, {"\u0152\u0153", "\x8C\x9C"},
        {"a\377b", "a?b"}, {"x\xC3", "x?"}, {"\342\202c", "??c"},   {"\0z"s, "\0z"s}};
    for (const auto& [utf8, bytes] : cases) EXPECT_EQ(utf8_to_cp1252(utf8), bytes) << utf8;
}

using RecordTest = testing::WindowTest;

TEST_F(RecordTest, WithoutARowOrASelectedOptionTheRecordKeepsWhatItHad) {
    const auto build = [&](double code) {
        w->code_aktuell = code;
        w->records.schreibebefehl();
        return w->befehl[w->befehl_aktuell];
    };
    // Before start-up no option button of either group is selected: the last word is repeated.
    w->befehl_aktuell = 1;
    w->mausklick = "middle";
    w->pcbefehl = "screenoff";
    EXPECT_EQ(build(3), "code:|003|mouseclick:|middle|");
    EXPECT_EQ(build(7), "code:|007|pc:|screenoff|");
    // Codes without a row write nothing but refresh the list.
    start();
    w->befehl_aktuell = 1;
    for (double code : {11.0, -1.0, 2.5}) {
        w->befehl[1] = "code:|005|start:|1|step:|1|";
        w->lst_code.clear();
        EXPECT_EQ(build(code), "code:|005|start:|1|step:|1|") << code;
        EXPECT_EQ(w->lst_code.items()[1], list_line(1, w->befehl[1])) << code;
    }
}

TEST_F(RecordTest, ParsesByPositionAndReplacesUnknownCodes) {
    start();
    w->befehl_aktuell = 5;
    // Record, code, values 1 to 4 after parsing (a slot the record does not reach keeps its
    // text), the record in the slot afterwards ("": unchanged).
    const std::tuple<Text, double, Text, Text, Text, Text, Text> rows[] = {
        {"code:|002|xpos:|12|ypos:|40|", 2, "12", "40", "old", "old", ""},
        {"abc:|7|", 7, "old", "old", "old", "old", ""},  // keys are not read
        // Five values at most; a value without its closing bar is ignored.
        {"code:|010|a:|1|b:|2|c:|3|d:|4|e:|5|tail", 10, "1", "2", "3", "4", ""},
        {"x:|004|text:|a:b c", 4, "old", "old", "old", "old", ""},
        {"code:|zz|", 0, "old", "old", "old", "old", ""},  // no number: the settings code
        {"codos:|12666666666|ypos:|", 12666666666.0, "old", "old", "old", "old",
         "code:|001|wait:|0|"},
    };
    for (const auto& [record, code, v1, v2, v3, v4, after] : rows) {
        SCOPED_TRACE(record);
        w->befehl_wert1[5] = w->befehl_wert2[5] = w->befehl_wert3[5] = w->befehl_wert4[5] = "old";
        w->befehl[5] = record;
        w->records.befehl_aktuellencode();
        EXPECT_EQ(w->code_aktuell, code);
        EXPECT_EQ(w->befehl_wert1[5] + w->befehl_wert2[5] + w->befehl_wert3[5] + w->befehl_wert4[5],
                  std::string(v1) + v2 + v3 + v4);
        EXPECT_EQ(w->befehl[5], *after ? after : record);
    }
    w->panels.codesichtbar();  // a code far outside any integer shows no panel, and no crash
    w->befehl[5] = "";         // an empty record changes nothing
    w->records.befehl_aktuellencode();
    EXPECT_EQ(w->code_aktuell, 12666666666.0);
}

}  // namespace
}  // namespace mavorin

// Number reading, number text, building and parsing records.
#include "document/records.hpp"

#include <gtest/gtest.h>

#include "document/codepage.hpp"
#include "fixture.hpp"

namespace mavorin {
namespace {

TEST(WertAusText, ReadsLeadingNumbersLeniently) {
    EXPECT_EQ(wert_aus_text("12abc"), 12);
    EXPECT_EQ(wert_aus_text(""), 0);
    EXPECT_EQ(wert_aus_text("abc"), 0);
    EXPECT_EQ(wert_aus_text(" 5"), 5);
    EXPECT_EQ(wert_aus_text("1 2\t3"), 123);  // blanks are skipped anywhere
    EXPECT_EQ(wert_aus_text("-3.5x"), -3.5);
    EXPECT_EQ(wert_aus_text("1.2.3"), 1.2);
    EXPECT_EQ(wert_aus_text("&H7C"), 124);
    EXPECT_EQ(wert_aus_text("&h1b"), 27);
    EXPECT_EQ(wert_aus_text("&O17"), 15);
    EXPECT_EQ(wert_aus_text("&O19"), 1);  // 9 is no octal digit
    EXPECT_EQ(wert_aus_text("1E3"), 1000);
    EXPECT_EQ(wert_aus_text("2D-1"), 0.2);
    EXPECT_EQ(wert_aus_text("5E"), 5);  // an exponent without digits is no exponent
    EXPECT_EQ(wert_aus_text("+7"), 7);
    EXPECT_EQ(wert_aus_text("-"), 0);
    EXPECT_EQ(wert_aus_text("1E999"), 0);  // overflow reads as no number
    EXPECT_EQ(wert_aus_text("&H" + std::string(300, '1')), 0);
}

TEST(ZahlText, WholeNumbersPlainOthersShortest) {
    EXPECT_EQ(zahl_text(500), "500");
    EXPECT_EQ(zahl_text(-3), "-3");
    EXPECT_EQ(zahl_text(0), "0");
    EXPECT_EQ(zahl_text(-0.0), "0");
    EXPECT_EQ(zahl_text(2.5), "2.5");  // the C locale's separator in tests
    EXPECT_EQ(zahl_text(0.1 + 0.2), "0.3");
    EXPECT_EQ(zahl_text(99999999999999.0), "99999999999999");
    EXPECT_EQ(runde(100.5), 100);
    EXPECT_EQ(runde(101.5), 102);
    EXPECT_EQ(runde(-2.5), -2);
    EXPECT_EQ(ersetze_alle("a+b+c", "+", "{+}"), "a{+}b{+}c");
    EXPECT_EQ(ersetze_alle("aaa", "aa", "b"), "ba");  // no overlap
}

TEST(Codepage, EveryByteRoundTripsAndForeignCharactersBecomeQuestionMarks) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(utf8_to_cp1252(cp1252_to_utf8(all)), all);
    EXPECT_EQ(cp1252_to_utf8("\xE4\x80"), "ä€");
    EXPECT_EQ(utf8_to_cp1252("Grüße €"),
              "Gr\xFC\xDF"
              "e \x80");
    EXPECT_EQ(utf8_to_cp1252("日本"), "??");
    EXPECT_EQ(utf8_to_cp1252("a\xFF"
                             "b"),
              "a?b");  // invalid UTF-8
}

class RecordTest : public testing::WindowTest {};

TEST_F(RecordTest, WritesEachCodeFromItsFields) {
    start();
    w->befehl_aktuell = 1;
    w->laden = true;  // set fields without their handlers
    w->txt_1_random1.set_text("100");
    w->txt_1_random2.set_text("100");
    w->txt_2_x.set_text("12abc");
    w->txt_2_y.set_text("");
    w->laden = false;
    auto build = [&](int code) {
        w->code_aktuell = code;
        w->records.schreibebefehl();
        return w->befehl[1];
    };
    EXPECT_EQ(build(1), "code:|001|wait:|100|");
    w->laden = true;
    w->txt_1_random2.set_text("250");
    w->laden = false;
    EXPECT_EQ(build(1), "code:|001|wait:|100|maxwait:|250|");
    EXPECT_EQ(build(2), "code:|002|xpos:|12|ypos:|0|");
    EXPECT_EQ(build(3), "code:|003|mouseclick:|left|");
    EXPECT_EQ(build(7), "code:|007|pc:|lockpc|");
    EXPECT_EQ(build(8), "code:|008|drive:||move:|open|");
    EXPECT_EQ(build(10), "code:|010|xpos:|0|ypos:|0|break:|0|");
    EXPECT_EQ(build(0), "code:|000|wait:|500|loop:|1|start:|no|stop:|ESC|");
    // Outside 0..10: no record, the slot keeps its text.
    EXPECT_EQ(build(11), "code:|000|wait:|500|loop:|1|start:|no|stop:|ESC|");
}

TEST_F(RecordTest, ClickWordFollowsTheSelectedOption) {
    start();
    w->befehl_aktuell = 2;
    w->laden = true;
    w->opt_3_click.select(2);
    w->laden = false;
    w->code_aktuell = 3;
    w->records.schreibebefehl();
    EXPECT_EQ(w->befehl[2], "code:|003|mouseclick:|right|");
    EXPECT_EQ(w->mausklick, "right");
}

TEST_F(RecordTest, ParsesByPositionAndReplacesUnknownCodes) {
    start();
    w->befehl[5] = "code:|002|xpos:|12|ypos:|40|";
    w->befehl_wert3[5] = "keep";
    w->befehl_aktuell = 5;
    w->records.befehl_aktuellencode();
    EXPECT_EQ(w->befehl_code[5], "002");
    EXPECT_EQ(w->befehl_wert1[5], "12");
    EXPECT_EQ(w->befehl_wert2[5], "40");
    EXPECT_EQ(w->befehl_wert3[5], "keep");
    EXPECT_EQ(w->code_aktuell, 2);

    w->befehl[5] = "abc:|7|";  // keys are not read
    w->records.befehl_aktuellencode();
    EXPECT_EQ(w->code_aktuell, 7);

    w->befehl[5] = "code:|011|wait:|0|";
    w->records.befehl_aktuellencode();
    EXPECT_EQ(w->code_aktuell, 11);
    EXPECT_EQ(w->befehl[5], "code:|001|wait:|0|");

    // A code far outside any integer shows no panel (and must not overflow on the way).
    w->befehl[5] = "codos:|12666666666|ypos:|";
    w->records.befehl_aktuellencode();
    w->panels.codesichtbar();
    clock.advance(20);
    EXPECT_EQ(w->code_aktuell, 12666666666.0);

    w->befehl[5] = "";
    w->records.befehl_aktuellencode();  // an empty record changes nothing
    EXPECT_EQ(w->code_aktuell, 12666666666.0);
    EXPECT_EQ(w->befehl_code[5], "12666666666");
}

TEST_F(RecordTest, NothingIsWrittenDuringARun) {
    start();
    w->befehl_aktuell = 1;
    w->Timer_startloop.set_enabled(true);
    w->code_aktuell = 2;
    w->lst_code.clear();
    w->records.schreibebefehl();
    EXPECT_EQ(w->befehl[1], "code:|001|wait:|0|");
    EXPECT_EQ(w->lst_code.list_count(), 0);  // the list is not refreshed either
}

}  // namespace
}  // namespace mavorin

// Number reading, number text, building and parsing records.
#include "document/records.hpp"

#include <gtest/gtest.h>

#include <clocale>

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

TEST(WertAusText, JunkAndEdgesNeverGiveNonsense) {
    EXPECT_EQ(wert_aus_text("1\n2"), 12);  // a line feed is skipped like a blank
    EXPECT_EQ(wert_aus_text(".5"), 0.5);
    EXPECT_EQ(wert_aus_text("1.5e+2"), 150);
    EXPECT_EQ(wert_aus_text("--5"), 0);
    EXPECT_EQ(wert_aus_text("+-5"), 0);
    EXPECT_EQ(wert_aus_text("."), 0);
    EXPECT_EQ(wert_aus_text("2,5"), 2);  // the comma is never a decimal point
    EXPECT_EQ(wert_aus_text("&H"), 0);
    EXPECT_EQ(wert_aus_text("&Hzz"), 0);
    EXPECT_EQ(wert_aus_text("&O"), 0);
    EXPECT_EQ(wert_aus_text("& H1F"), 31);  // the blank inside the prefix is skipped too
    EXPECT_EQ(wert_aus_text("&X12"), 0);
    // Hundreds of digits overflow: no number, not infinity.
    EXPECT_EQ(wert_aus_text("&H" + std::string(400, 'F')), 0);
    EXPECT_EQ(wert_aus_text("&O" + std::string(500, '7')), 0);
    EXPECT_EQ(wert_aus_text(std::string(400, '9')), 0);
    EXPECT_EQ(wert_aus_text(std::string("7\0", 2)), 7);
}

// Whole numbers never carry a separator; fractions take the one of LC_NUMERIC, and reading
// keeps "." as the only decimal point whatever the locale says.
TEST(ZahlText, FollowsTheNumericLocale) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE"))
        GTEST_SKIP() << "no German locale installed";
    EXPECT_EQ(zahl_text(2.5), "2,5");
    EXPECT_EQ(zahl_text(-0.125), "-0,125");
    EXPECT_EQ(zahl_text(500), "500");
    EXPECT_EQ(wert_aus_text("2.5"), 2.5);
    EXPECT_EQ(wert_aus_text("2,5"), 2);
    EXPECT_EQ(wert_aus_text("1.5E1"), 15);
    std::setlocale(LC_NUMERIC, saved.c_str());
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

TEST_F(RecordTest, TextFieldsAreTakenVerbatimAndTheDriveFromItsList) {
    platform.roots = {"/dev/sr0", "/dev/sda"};
    platform.drive_types["/dev/sr0"] = kDriveCdrom;
    start();
    w->befehl_aktuell = 1;
    w->laden = true;
    w->txt_4_eingabetext.set_text("Grüße, \"du\" {ENTER}");
    w->txt_6_pfad.set_text("C:\\Programme\\a b.exe");
    w->txt_9_pfad.set_text("bild <90%>.jpg");
    w->com_8_move.set_list_index(1);
    w->laden = false;
    auto build = [&](int code) {
        w->code_aktuell = code;
        w->records.schreibebefehl();
        return w->befehl[1];
    };
    EXPECT_EQ(build(4), "code:|004|text:|Grüße, \"du\" {ENTER}|");
    EXPECT_EQ(build(6), "code:|006|pfad:|C:\\Programme\\a b.exe|");
    EXPECT_EQ(build(9), "code:|009|pfad:|bild <90%>.jpg|");
    EXPECT_EQ(build(8), "code:|008|drive:|/dev/sr0|move:|close|");
    EXPECT_EQ(w->lst_code.items()[1], "001 - code: 008 drive: /dev/sr0 move: close ");
}

TEST_F(RecordTest, WithoutASelectedOptionTheLastWordIsRepeated) {
    // Before start-up no option button of either group is selected.
    w->befehl_aktuell = 1;
    w->mausklick = "middle";
    w->pcbefehl = "screenoff";
    w->code_aktuell = 3;
    w->records.schreibebefehl();
    EXPECT_EQ(w->befehl[1], "code:|003|mouseclick:|middle|");
    w->code_aktuell = 7;
    w->records.schreibebefehl();
    EXPECT_EQ(w->befehl[1], "code:|007|pc:|screenoff|");

    start();
    w->befehl_aktuell = 1;
    w->laden = true;
    w->opt_7_pc.select(5);
    w->laden = false;
    w->code_aktuell = 7;
    w->records.schreibebefehl();
    EXPECT_EQ(w->befehl[1], "code:|007|pc:|input-disable|");
    EXPECT_EQ(w->pcbefehl, "input-disable");
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

    // Five values at most; a sixth pair and a value without its closing bar are ignored.
    w->befehl[5] = "code:|010|a:|1|b:|2|c:|3|d:|4|e:|5|tail";
    w->records.befehl_aktuellencode();
    EXPECT_EQ(w->befehl_wert3[5], "3");
    EXPECT_EQ(w->befehl_wert4[5], "4");
    w->befehl[5] = "x:|004|text:|a:b c";
    w->records.befehl_aktuellencode();
    EXPECT_EQ(w->befehl_code[5], "004");
    EXPECT_EQ(w->befehl_wert1[5], "1");  // unchanged: its value has no closing bar

    w->befehl[5] = "code:|zz|";  // a code that is no number parses as 0
    w->records.befehl_aktuellencode();
    EXPECT_EQ(w->code_aktuell, 0);
    EXPECT_EQ(w->befehl[5], "code:|zz|");

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

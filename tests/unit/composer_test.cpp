// The special-key list of the keyboard panel.
#include <sstream>

#include "editor_fixture.hpp"

namespace mavorin {
namespace {

class ComposerTest : public testing::EditorFixture {
  protected:
    void SetUp() override {
        EditorFixture::SetUp();
        w->hsc_befehle.set_value(1);
        choose("Tastatur Eingabe");
        clock.advance(20);
    }
    // Picks an entry and lets the list return to its prompt.
    void pick(const std::string& entry) {
        w->com_4_eingabebefehl.set_text(entry);
        clock.advance(10);
    }
};

TEST_F(ComposerTest, EveryEntryAppendsItsToken) {
    std::vector<std::string> entries;
    std::istringstream names(
        "Shift;Strg;Alt;Alt Gr;Entf;Einfg;ESC;Eingabetaste;Rücktaste;TAB;Pfeil oben;Pfeil links;"
        "Pfeil rechts;Pfeil unten;Feststelltaste Shift;Feststelltaste Nummernblock;"
        "Feststelltaste Rollen;Pause;Pos1;Ende;Bild up;Bild down;F1;F2;F3;F4;F5;F6;F7;F8;F9;F10;"
        "F11;F12;{;};CODE5");
    for (std::string e; std::getline(names, e, ';');) entries.push_back(e);
    ASSERT_EQ(entries.size(), 37u);
    ASSERT_EQ(w->com_4_eingabebefehl.list_count(), 38);
    EXPECT_EQ(w->com_4_eingabebefehl.item(0), "Wähle einen Befehl");
    for (int i = 0; i < 37; ++i) EXPECT_EQ(w->com_4_eingabebefehl.item(i + 1), entries[i]);
    for (const auto& e : entries) pick(e);
    EXPECT_EQ(w->com_4_eingabebefehl.text(), "Wähle einen Befehl");
    EXPECT_FALSE(w->Timer_combobox.enabled());
    EXPECT_EQ(w->txt_4_eingabetext.text(),
              "{SHIFT}{CTRL}{ALT}{ALTGR}{DEL}{INS}{ESC}{ENTER}{BS}{TAB}{UP}{LEFT}{RIGHT}{DOWN}"
              "{CAPSLOCK}{NUMLOCK}{SCROLLLOCK}{BREAK}{HOME}{END}{PGUP}{PGDN}{F1}{F2}{F3}{F4}{F5}"
              "{F6}{F7}{F8}{F9}{F10}{F11}{F12}{{}{}}{CODE5}");
    EXPECT_EQ(w->befehl[1], "code:|004|text:|" + w->txt_4_eingabetext.text() + "|");
}

TEST_F(ComposerTest, TokensGoToTheEndAndThePromptInsertsNothing) {
    w->txt_4_eingabetext.set_text("abc");
    pick("Strg");
    w->txt_4_eingabetext.set_text(w->txt_4_eingabetext.text() + "c");
    EXPECT_EQ(w->befehl[1], "code:|004|text:|abc{CTRL}c|");

    // Picking the prompt itself (after another entry) changes neither text nor record.
    w->com_4_eingabebefehl.set_text("Pfeil oben");
    w->txt_4_eingabetext.set_text("abc{CTRL}c");
    w->com_4_eingabebefehl.set_text("Wähle einen Befehl");
    EXPECT_EQ(w->txt_4_eingabetext.text(), "abc{CTRL}c");
    EXPECT_EQ(w->befehl[1], "code:|004|text:|abc{CTRL}c|");
}

TEST_F(ComposerTest, AChoiceWhileLoadingChangesTheTextButNotTheRecord) {
    w->laden = true;
    w->com_4_eingabebefehl.set_text("TAB");
    w->laden = false;
    EXPECT_EQ(w->txt_4_eingabetext.text(), "{TAB}");
    EXPECT_EQ(w->befehl[1], "code:|004|text:||");
    EXPECT_TRUE(w->Timer_combobox.enabled());
}

TEST(SpecialKeys, TokensSurviveTheBarCleaning) {
    for (int i = 1; i < kSpecialKeyCount; ++i) {
        const std::string t = special_keys()[i].token;
        EXPECT_EQ(t.find('|'), std::string::npos) << t;
        EXPECT_EQ(t.find(' '), std::string::npos) << t;
        EXPECT_EQ(t.front(), '{') << t;
        EXPECT_EQ(t.back(), '}') << t;
    }
    EXPECT_STREQ(special_keys()[0].token, "");
}

}  // namespace
}  // namespace mavorin

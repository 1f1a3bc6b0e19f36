// The document layer: the title, the question before unsaved work is dropped, and honest saving.
#include <filesystem>
#include <functional>

#include "fixture.hpp"

namespace mavorin {
namespace {

using testing::WindowTest;

class DocumentTest : public WindowTest {
  protected:
    void SetUp() override {
        write_macro("a.mvn", ".mvn 0000",
                    {"code:|000|wait:|10|loop:|3|start:|no|stop:|ESC|", "code:|001|wait:|0|",
                     "code:|001|wait:|0|"});
        start();
        w->document.mark_clean();
    }
    void edit() { w->txt_0_wait.set_text("20"); }
    std::string title() const { return w->document.title(); }
};

TEST_F(DocumentTest, TitleFollowsLoadEditSaveAndRun) {
    EXPECT_EQ(title(), "Mavorin – mavorin.mvn");
    platform.open_dialog_answers.push_back(dir.file("a.mvn"));
    w->cmd_load2.click();
    EXPECT_EQ(title(), "Mavorin – a.mvn");
    edit();
    EXPECT_EQ(title(), "Mavorin – a.mvn *");
    w->cmd_save.click();
    EXPECT_EQ(title(), "Mavorin – a.mvn");
    w->cmd_start.click();
    std::vector<std::string> seen = {title()};
    for (int ms = 0; ms < 5000 && w->running(); ms += 5) {
        clock.advance(5);
        if (title() != seen.back()) seen.push_back(title());
    }
    const std::string running = "Mavorin – a.mvn – läuft, Durchlauf ";
    // "loop 3" repeats the macro three times after the first pass.
    EXPECT_EQ(seen, (std::vector<std::string>{running + "1 von 4", running + "2 von 4",
                                              running + "3 von 4", running + "4 von 4",
                                              "Mavorin – a.mvn"}));
    EXPECT_EQ(title(), "Mavorin – a.mvn");
}

TEST_F(DocumentTest, UnsavedChangesAreAskedAbout) {
    struct Case {
        const char* action;
        std::function<void()> run;
    };
    const std::vector<Case> actions = {
        {"Neu", [&] { w->cmd_neu.click(); }},
        {"Laden", [&] { w->cmd_load.click(); }},
        {"drop", [&] { w->lst_code.on_drop({dir.file("a.mvn")}); }},
    };
    dir.write("mavorin.mvn", ".mvn 0000\r\ncode:|000|wait:|10|loop:|1|start:|no|stop:|ESC|\r\n");
    for (const Case& c : actions) {
        SCOPED_TRACE(c.action);
        edit();
        const size_t asked = platform.questions.size();
        platform.ask_answers = {2};  // Abbrechen
        c.run();
        ASSERT_EQ(platform.questions.size(), asked + 1);
        EXPECT_EQ(platform.questions.back().buttons.size(), 3u);
        EXPECT_EQ(platform.questions.back().cancel_button, 2);
        EXPECT_TRUE(w->document.modified());
        platform.ask_answers = {1};  // Verwerfen
        c.run();
        EXPECT_FALSE(w->document.modified());
    }
    // Speichern first; a save that fails cancels the action.
    edit();
    w->dateipfad = dir.file("no/such/folder.mvn");
    platform.ask_answers = {0};
    w->cmd_neu.click();
    EXPECT_EQ(w->dateipfad, dir.file("no/such/folder.mvn"));
    EXPECT_TRUE(w->document.modified());
}

TEST_F(DocumentTest, FailedSaveIsShownAndEnablesNothing) {
    w->dateipfad = dir.file("no/such/folder.mvn");
    w->cmd_load.set_enabled(false);
    w->cmd_save.click();
    ASSERT_FALSE(platform.questions.empty());
    EXPECT_NE(platform.questions.back().text.find(w->dateipfad), std::string::npos);
    EXPECT_NE(platform.questions.back().text.find(w->macro_file.last_save.reason),
              std::string::npos);
    EXPECT_FALSE(w->cmd_load.enabled());
}

TEST_F(DocumentTest, SaveAsAddsTheExtensionAndWarnsOfLostCharacters) {
    platform.save_dialog_answers = {dir.file("plain"), dir.file("x.txt")};
    w->cmd_save2.click();
    w->cmd_save2.click();
    EXPECT_TRUE(std::filesystem::exists(dir.file("plain.mvn")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("x.txt")));
    EXPECT_TRUE(platform.questions.empty());
    w->befehl[1] = "code:|004|text:|€ 中 ü ☺ 中|";
    w->cmd_save.click();
    ASSERT_EQ(platform.questions.size(), 1u);
    const std::string& text = platform.questions.back().text;
    EXPECT_EQ(text.substr(text.size() - 6), "中☺");
}

}  // namespace
}  // namespace mavorin

// The command list and its popup menu as the user drives them with mouse and keys.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

#include "view_fixture.hpp"

namespace mavorin {
namespace {

class ListTest : public ViewTest {
  protected:
    ListTest() {
        load({"code:|002|xpos:|1|ypos:|1|", "code:|002|xpos:|2|ypos:|2|",
              "code:|002|xpos:|3|ypos:|3|", "code:|002|xpos:|4|ypos:|4|"});
    }
    // Opens the popup on a line; `inside` runs while it is open, then the menu closes.
    void with_popup(int row, const std::function<void(QMenu*)>& inside) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            QMenu* menu = view->popup_menu();
            ran = menu->isVisible();
            if (ran) inside(menu);
            menu->close();
        });
        QTest::mouseClick(list()->viewport(), Qt::RightButton, {}, line_centre(row));
        settle();
        EXPECT_TRUE(ran) << "the popup did not open";
    }
    static QAction* action(QMenu* menu, const char* name) {
        for (QAction* a : menu->actions())
            if (a->objectName() == QLatin1String(name)) return a;
        ADD_FAILURE() << name;
        return nullptr;
    }
    std::string x_field() { return get<QLineEdit>("txt_2_x")->text().toStdString(); }
};

TEST_F(ListTest, PlainClickAfterSelectAllLeavesOneCurrentLine) {
    click_line(1);
    QTest::keyClick(list(), Qt::Key_A, Qt::ControlModifier);
    settle();
    EXPECT_EQ(model_selection(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(widget_selection(), (std::vector<int>{1, 2, 3, 4}));

    // The pressed line was part of the selection: it alone must become current at the press.
    click_line(3);
    EXPECT_EQ(model->befehl_aktuell, 3);
    EXPECT_EQ(model_selection(), (std::vector<int>{3}));
    EXPECT_EQ(widget_selection(), (std::vector<int>{3}));
    EXPECT_EQ(x_field(), "3");

    // The menu's Delete acts on what the user sees selected, not on the earlier selection.
    with_popup(3, [&](QMenu* menu) { action(menu, "mnudelete")->trigger(); });
    EXPECT_EQ(model->befehl_anzahl, 3);
    EXPECT_EQ(model->befehl[1], "code:|002|xpos:|1|ypos:|1|");
    EXPECT_EQ(model->befehl[2], "code:|002|xpos:|2|ypos:|2|");
    EXPECT_EQ(model->befehl[3], "code:|002|xpos:|4|ypos:|4|");
    EXPECT_EQ(list()->count(), 4);
    EXPECT_EQ(get<QLineEdit>("txt_befehle")->text(), "3");
}

TEST_F(ListTest, ShiftClickSelectsARangeAndCopyPasteUsesIt) {
    click_line(1);
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, Qt::ShiftModifier, line_centre(3));
    settle();
    EXPECT_EQ(model_selection(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(model->befehl_aktuell, 1);  // a multiple selection keeps the current command
    EXPECT_EQ(x_field(), "1");

    QTest::keyClick(list(), Qt::Key_C, Qt::ControlModifier);
    click_line(4);
    QTest::keyClick(list(), Qt::Key_V, Qt::ControlModifier);
    settle();
    EXPECT_EQ(model->befehl_anzahl, 7);
    EXPECT_EQ(list()->count(), 8);
    EXPECT_EQ(list()->item(5)->text().toStdString(), "005 - code: 002 xpos: 1 ypos: 1 ");
    EXPECT_EQ(list()->item(7)->text().toStdString(), "007 - code: 002 xpos: 3 ypos: 3 ");
}

TEST_F(ListTest, NavigationKeysMakeTheLineCurrentOnRelease) {
    click_line(1);
    QTest::keyClick(list(), Qt::Key_Down);
    settle();
    EXPECT_EQ(model->befehl_aktuell, 2);
    EXPECT_EQ(x_field(), "2");
    EXPECT_EQ(get<QLabel>("lbl_hscaktuell")->text(), "2");
    QTest::keyClick(list(), Qt::Key_End);
    settle();
    EXPECT_EQ(model->befehl_aktuell, 4);
    QTest::keyClick(list(), Qt::Key_Home);
    settle();
    EXPECT_EQ(model->befehl_aktuell, 0);
    EXPECT_TRUE(get<QLineEdit>("txt_0_wait")->isVisible());
    EXPECT_FALSE(get<QLineEdit>("txt_2_x")->isVisible());
}

TEST_F(ListTest, DoubleClickRunsTheLineOnce) {
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, line_centre(3));
    settle(600);  // the pause of the settings record, then the step
    const auto moves = platform->calls_of("set_cursor_pos");
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].args, "3 3");
}

TEST_F(ListTest, PopupShowsCaptionsShortcutsSeparatorsAndRunsItems) {
    click_line(2);
    std::vector<std::string> shown;
    with_popup(2, [&](QMenu* menu) {
        for (QAction* a : menu->actions())
            shown.push_back(a->isSeparator() ? "-"
                                             : a->text().toStdString() + " " +
                                                   a->shortcut().toString().toStdString() +
                                                   (a->isEnabled() ? "" : " (off)"));
        action(menu, "mnucopy")->trigger();
    });
    EXPECT_EQ(shown,
              (std::vector<std::string>{"Neuer Befehl Ctrl+N", "-", "Ausschneiiden Ctrl+X",
                                        "Kopieren Ctrl+C", "Einfügen Ctrl+V (off)", "Löschen Del",
                                        "-", "Alles makieren Ctrl+A", "Mehr anzeigen Ctrl+D"}));
    EXPECT_EQ(model->befehl_kopie[0], "code:|002|xpos:|2|ypos:|2|");

    // The buffer now holds a command: Paste is offered; the list grows from the menu.
    const int compact = view->height();
    with_popup(2, [&](QMenu* menu) {
        EXPECT_TRUE(action(menu, "mnupaste")->isEnabled());
        action(menu, "mnudisplay")->trigger();
    });
    EXPECT_EQ(list()->height(), 268);
    EXPECT_EQ(view->height() - compact, 130);  // 9619 and 7665 twips at 15 twips per pixel
    EXPECT_GE(view->height(), list()->geometry().bottom());
    with_popup(2, [&](QMenu* menu) {
        EXPECT_EQ(action(menu, "mnudisplay")->text(), "Weniger anzeigen");
        action(menu, "mnudisplay")->trigger();
    });
    EXPECT_EQ(list()->height(), 134);
    EXPECT_EQ(view->height(), compact);
}

TEST_F(ListTest, PopupWithOneCommandGreysOutCutAndDelete) {
    load({"code:|001|wait:|5|"});
    click_line(1);
    std::map<std::string, bool> enabled;
    with_popup(1, [&](QMenu* menu) {
        for (const char* n : {"mnucut", "mnucopy", "mnudelete", "mnuall"})
            enabled[n] = action(menu, n)->isEnabled();
    });
    EXPECT_FALSE(enabled["mnucut"]);
    EXPECT_TRUE(enabled["mnucopy"]);
    EXPECT_FALSE(enabled["mnudelete"]);
    EXPECT_TRUE(enabled["mnuall"]);
}

}  // namespace
}  // namespace mavorin

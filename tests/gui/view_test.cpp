// The Qt view under the offscreen platform: widgets mirror the model, user edits reach handlers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <fstream>

#include "view_fixture.hpp"

namespace mavorin {
namespace {

TEST_F(ViewTest, EveryControlHasAWidgetNamedAfterIt) {
    for (form::Control* c : model->all_controls()) {
        if (c == &model->form || c == &model->mnulistboxcode) continue;
        if (c->name().rfind("mnu", 0) == 0) continue;  // menu items are actions
        QWidget* w = view->widget(c->name());
        ASSERT_NE(w, nullptr) << c->name();
        EXPECT_EQ(w->accessibleName().toStdString(), c->name());
        EXPECT_EQ(w->objectName().toStdString(), c->name());
    }
    EXPECT_EQ(get<QPushButton>("cmd_start")->text(), "Start");
    EXPECT_EQ(get<QLabel>("lbl_0_wait")->text(), "Wartezeit nach jedem Befehl:");
}

TEST_F(ViewTest, TypingIntoAFieldRewritesTheRecordInTheList) {
    click_line(2);
    EXPECT_EQ(model->befehl_aktuell, 2);
    auto* from = get<QLineEdit>("txt_1_random1");
    EXPECT_TRUE(from->isVisible());
    from->selectAll();
    QTest::keyClicks(from, "250");
    settle();
    EXPECT_EQ(list()->item(2)->text().toStdString(), "002 - code: 001 wait: 250 ");
    EXPECT_EQ(get<QLineEdit>("txt_1_random2")->text(), "250");  // dragged up by the pair rule
}

TEST_F(ViewTest, ChoosingACodeSwitchesThePanel) {
    click_line(1);
    auto* code = get<QComboBox>("com_code");
    ASSERT_TRUE(code->isVisible());
    code->setFocus();
    QTest::keyClick(code, Qt::Key_Down);  // "Mauszeiger zu X/Y Position gehen"
    settle();
    EXPECT_EQ(model->befehl[1], "code:|002|xpos:|0|ypos:|0|");
    EXPECT_TRUE(get<QLineEdit>("txt_2_x")->isVisible());
    EXPECT_FALSE(get<QLineEdit>("txt_1_random1")->isVisible());
    EXPECT_EQ(get<QLabel>("lbl_info")->text().toStdString(),
              "Zu welcher X/Y Position mit dem Mauszeiger gehen? (Enter = Aktuelle Pos.)");
}

TEST_F(ViewTest, PopupMenuShowsTheEnabledStates) {
    click_line(0);
    std::map<std::string, bool> enabled;
    QTimer::singleShot(50, [&] {
        for (QAction* a : view->popup_menu()->actions())
            if (!a->isSeparator()) enabled[a->objectName().toStdString()] = a->isEnabled();
        view->popup_menu()->close();
    });
    QRect r = list()->visualItemRect(list()->item(0));
    QTest::mouseClick(list()->viewport(), Qt::RightButton, {}, r.center());
    EXPECT_FALSE(enabled["mnucut"]);
    EXPECT_FALSE(enabled["mnucopy"]);
    EXPECT_FALSE(enabled["mnudelete"]);
    EXPECT_FALSE(enabled["mnupaste"]);
    EXPECT_TRUE(enabled["mnunewcommand"]);
    EXPECT_TRUE(enabled["mnudisplay"]);
}

TEST_F(ViewTest, CountBoxAndListKeys) {
    auto* count = get<QLineEdit>("txt_befehle");
    count->selectAll();
    QTest::keyClicks(count, "6");
    settle();
    EXPECT_EQ(list()->count(), 7);
    click_line(3);
    QTest::keyClick(list(), Qt::Key_D, Qt::ControlModifier);  // tall list
    settle();
    EXPECT_EQ(list()->height(), 268);
    QTest::keyClick(list(), Qt::Key_Delete);
    settle();
    EXPECT_EQ(list()->count(), 6);
}

TEST_F(ViewTest, StartShowsTheStopCaptionAndLocksTheEditor) {
    QTest::mouseClick(get<QPushButton>("cmd_start"), Qt::LeftButton);
    settle();
    EXPECT_EQ(get<QPushButton>("cmd_start")->text(), "ESC=Stop");
    EXPECT_FALSE(get<QLineEdit>("txt_0_wait")->isEnabled());
    EXPECT_FALSE(list()->isEnabled());
    EXPECT_FALSE(get<QPushButton>("cmd_neu")->isEnabled());
    QTest::mouseClick(get<QPushButton>("cmd_start"), Qt::LeftButton);
    settle();
    EXPECT_EQ(get<QPushButton>("cmd_start")->text(), "Start");
    EXPECT_TRUE(list()->isEnabled());
}

TEST_F(ViewTest, ADroppedFileLoads) {
    const auto file = folder / "drop.mvn";
    std::ofstream(file, std::ios::binary)
        << ".mvn 0000\r\ncode:|000|wait:|100|loop:|1|start:|no|stop:|ESC|\r\n"
           "code:|002|xpos:|7|ypos:|8|\r\n";
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(file.string()))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(list()->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(list()->viewport(), &drop);
    settle();
    EXPECT_EQ(model->dateipfad, file.string());
    EXPECT_EQ(list()->count(), 2);
    EXPECT_EQ(list()->item(1)->text().toStdString(), "001 - code: 002 xpos: 7 ypos: 8 ");
    EXPECT_EQ(get<QLineEdit>("txt_befehle")->text(), "1");
}

TEST_F(ViewTest, DropsThatCannotLoadLeaveTheMacroAlone) {
    const std::vector<std::string> before(model->befehl.begin(), model->befehl.begin() + 4);
    auto drop = [&](const QList<QUrl>& urls) {
        QMimeData mime;
        mime.setUrls(urls);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(list()->viewport(), &event);
        settle();
    };
    const auto a = folder / "a.mvn", b = folder / "b.mvn";
    for (const auto& f : {a, b})
        std::ofstream(f, std::ios::binary) << ".mvn 0000\r\ncode:|000|wait:|9|loop:|1|\r\n";
    drop({QUrl::fromLocalFile(QString::fromStdString(a.string())),
          QUrl::fromLocalFile(QString::fromStdString(b.string()))});  // one file at a time only
    drop({QUrl::fromLocalFile(QString::fromStdString((folder / "missing.mvn").string()))});
    drop({QUrl(QStringLiteral("https://example.org/x.mvn"))});
    EXPECT_EQ(std::vector<std::string>(model->befehl.begin(), model->befehl.begin() + 4), before);
    EXPECT_EQ(list()->count(), 4);
    EXPECT_EQ(get<QLineEdit>("txt_0_wait")->text(), "500");
}

TEST_F(ViewTest, ColourSchemeAndTransparencyCheckBox) {
    model->form.set_back_color(0x7070FF);
    settle();
    EXPECT_EQ(view->palette().color(QPalette::Window), QColor(0xFF, 0x70, 0x70));
    QTest::mouseClick(get<QCheckBox>("chk_0_vordergrund"), Qt::LeftButton);
    settle();
    EXPECT_EQ(model->chk_0_vordergrund.value(), 1);
    EXPECT_TRUE(platform->topmost);
}

}  // namespace
}  // namespace mavorin

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// The Qt view under the offscreen platform: widgets mirror the model, user input reaches handlers;
// and Qt's window services: opacity, z-order, message boxes and file dialogs.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/frm_mavorin.hpp"
#include "form/event_loop.hpp"
#include "platform/desktop_platform.hpp"
#include "platform/recording/recording_platform.hpp"
#include "qt/main_window.hpp"
#include "qt/qt_event_loop.hpp"
#include "qt/qt_window_services.hpp"
#include "qt/tray.hpp"

namespace mavorin {
namespace {

// The core on a virtual clock with the recording platform, and its Qt view.
class ViewTest : public ::testing::Test {
  protected:
    // One folder per process: ctest may run several test processes at once.
    ViewTest()
        : folder(std::filesystem::temp_directory_path() /
                 ("mavorin-gui-" + std::to_string(QCoreApplication::applicationPid()))) {
        std::filesystem::create_directories(folder);
        platform = std::make_unique<RecordingPlatform>(clock, folder.string());
        model = std::make_unique<frm_mavorin>(*platform, clock);
        view = std::make_unique<qt::MainWindow>(*model);
        view->show();
        model->startup.Form_Load();
        settle();
    }
    ~ViewTest() override {
        view.reset();
        std::filesystem::remove_all(folder);
    }
    // Runs the model's timers a little and lets the view catch up.
    void settle(int ms = 20) {
        clock.advance(ms);
        QCoreApplication::processEvents();
    }
    template <class W>
    W* get(const char* name) {
        auto* w = qobject_cast<W*>(view->widget(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QListWidget* list() { return get<QListWidget>("lst_code"); }
    QPoint line_centre(int row) { return list()->visualItemRect(list()->item(row)).center(); }
    // Writes a macro of the given commands after a settings record.
    std::filesystem::path write_macro(const char* name, const std::vector<std::string>& records) {
        std::ofstream out(folder / name, std::ios::binary);
        out << ".mvn 0000\r\ncode:|000|wait:|500|loop:|1|start:|no|stop:|ESC|\r\n";
        for (const auto& r : records) out << r << "\r\n";
        return folder / name;
    }
    // Loads a macro through the list's drop handler.
    void load(const std::vector<std::string>& records) {
        model->lst_code.on_drop({write_macro("macro.mvn", records).string()});
        settle();
    }
    // The selected rows of the model, then of the widget: "1 2 / 1 2".
    std::string selection() {
        std::string rows;
        for (int i = 0; i < model->lst_code.list_count(); ++i)
            if (model->lst_code.selected(i)) rows += std::to_string(i) + " ";
        rows += "/";
        for (int i = 0; i < list()->count(); ++i)
            if (list()->item(i)->isSelected()) rows += " " + std::to_string(i);
        return rows;
    }
    void click_line(int row, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, mods, line_centre(row));
        settle();
    }
    // Replaces a field's text as the user would and returns the field.
    QLineEdit* type_into(const char* name, const char* text) {
        auto* field = get<QLineEdit>(name);
        field->selectAll();
        QTest::keyClicks(field, text);
        settle();
        return field;
    }
    // Opens the popup on a line and returns its entries as "caption shortcut", with " (off)"
    // when greyed out and "-" for separators; then triggers the action named `run`, if any.
    std::vector<std::string> popup(int row, const char* run = nullptr) {
        std::vector<std::string> shown;
        QTimer::singleShot(0, [&] {
            QMenu* menu = view->popup_menu();
            QAction* chosen = nullptr;
            for (QAction* a : menu->isVisible() ? menu->actions() : QList<QAction*>{}) {
                shown.push_back(a->isSeparator() ? "-"
                                                 : a->text().toStdString() + " " +
                                                       a->shortcut().toString().toStdString() +
                                                       (a->isEnabled() ? "" : " (off)"));
                if (run && a->objectName() == QLatin1String(run)) chosen = a;
            }
            if (chosen) chosen->trigger();
            menu->close();
        });
        QTest::mouseClick(list()->viewport(), Qt::RightButton, {}, line_centre(row));
        settle();
        EXPECT_FALSE(shown.empty()) << "the popup did not open";
        return shown;
    }

    std::filesystem::path folder;
    form::VirtualClock clock;
    std::unique_ptr<RecordingPlatform> platform;
    std::unique_ptr<frm_mavorin> model;
    std::unique_ptr<qt::MainWindow> view;
};

const std::vector<std::string> kPoints = {
    "code:|002|xpos:|1|ypos:|1|", "code:|002|xpos:|2|ypos:|2|", "code:|002|xpos:|3|ypos:|3|",
    "code:|002|xpos:|4|ypos:|4|"};

TEST_F(ViewTest, EveryControlHasExactlyOneWidgetAndAMisspeltNameFailsLoudly) {
    const auto named = view->findChildren<QObject*>();  // widgets, the menu and its actions
    for (form::Control* c : model->all_controls()) {
        if (c == &model->form) continue;
        const auto n = std::count_if(named.begin(), named.end(), [&](QObject* o) {
            return o->objectName().toStdString() == c->name();
        });
        EXPECT_EQ(n, 1) << c->name();
    }
    EXPECT_EQ(view->widget("txt_0_wait")->accessibleName(), "Wartezeit nach jedem Befehl (ms)");
    // Tooltips tell what the caption does not; a caption that says it all needs none.
    for (auto [name, tip] : {std::pair{"cmd_save2", "Speichern unter…"},
                             {"img_befehl_left", "Anzahl verringern"},
                             {"cmd_start", ""}})
        EXPECT_EQ(view->widget(name)->toolTip().toStdString(), tip) << name;
    EXPECT_THROW(view->widget("txt_0_wiat"), std::out_of_range);
}

TEST_F(ViewTest, FieldsCodeChoiceAndOptionButtonsRewriteTheRecord) {
    // The model's correction shows in the field being typed into.
    EXPECT_EQ(type_into("txt_0_wait", "99999")->text(), "60000");
    EXPECT_EQ(list()->item(0)->text().toStdString(),
              "00 - code: 000 wait: 60000 loop: 1 start: no stop: ESC ");
    click_line(1);

    auto* code = get<QComboBox>("com_code");
    code->setFocus();
    QTest::keyClick(code, Qt::Key_Down);  // "Mauszeiger zu X/Y Position gehen"
    QTest::keyClick(code, Qt::Key_Down);  // "Mauszeiger Tastendruck"
    settle();
    ASSERT_EQ(model->befehl[1], "code:|003|mouseclick:|left|");
    EXPECT_FALSE(get<QLineEdit>("txt_1_random1")->isVisible());
    auto* right = get<QRadioButton>("opt_3_click(2)");
    for (int i = 0; i < 2; ++i) {  // clicking the chosen button again does not clear it
        QTest::mouseClick(right, Qt::LeftButton, {}, QPoint(8, right->height() / 2));
        settle();
        EXPECT_EQ(model->befehl[1], "code:|003|mouseclick:|right|");
        EXPECT_TRUE(right->isChecked());
        EXPECT_FALSE(get<QRadioButton>("opt_3_click(0)")->isChecked());
    }
}

TEST_F(ViewTest, ModelChangesShowWithoutRunningHandlersAgain) {
    int fired = 0;  // handlers run, keeping the original ones
    for (auto* h : {&model->txt_0_wait.on_change, &model->hsc_befehle.on_change,
                    &model->com_code.on_click, &model->chk_0_listbox.on_click})
        *h = [&fired, inner = *h] { ++fired, inner(); };
    model->txt_0_wait.set_text("700");
    model->hsc_befehle.set_value(2);
    model->com_code.set_list_index(4);
    model->chk_0_listbox.set_value(0);
    model->form.set_back_color(0x7070FF);
    settle();
    EXPECT_EQ(fired, 4);  // once each, not again when the view shows the change
    EXPECT_EQ(get<QLineEdit>("txt_0_wait")->text(), "700");
    EXPECT_EQ(get<QScrollBar>("hsc_befehle")->value(), 2);
    EXPECT_EQ(get<QLabel>("lbl_hscaktuell")->text(), "2");
    EXPECT_FALSE(get<QCheckBox>("chk_0_listbox")->isChecked());
    EXPECT_FALSE(list()->isVisible());
    EXPECT_EQ(view->palette().color(QPalette::Window), QColor(0xFF, 0x70, 0x70));  // BGR to RGB
}

TEST_F(ViewTest, CountBoxArrowsAndScrollBarResizeAndMoveTheMacro) {
    get<QScrollBar>("hsc_befehle")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    settle();
    EXPECT_EQ(model->befehl_aktuell, 1);
    EXPECT_EQ(selection(), "1 / 1");
    QTest::mouseClick(view->widget("img_befehl_right"), Qt::LeftButton);
    settle();
    EXPECT_EQ(get<QLabel>("lbl_hscmax")->text(), "4");
    EXPECT_EQ(list()->count(), 5);
    QLineEdit* count = type_into("txt_befehle", "0");
    // Switching windows leaves the box as typed; leaving it for another field corrects it.
    for (auto reason : {Qt::ActiveWindowFocusReason, Qt::TabFocusReason}) {
        QFocusEvent away(QEvent::FocusOut, reason);
        QCoreApplication::sendEvent(count, &away);
        settle();
        EXPECT_EQ(count->text(), reason == Qt::TabFocusReason ? "1" : "0");
    }
    EXPECT_EQ(list()->count(), 2);
}

TEST_F(ViewTest, PopupMenuStatesShortcutsAndItems) {
    const auto off = [&](int row, const char* run = nullptr) {
        std::string names;
        for (const auto& e : popup(row, run))
            if (e.ends_with(" (off)")) names += e.substr(0, e.find(' ')) + " ";
        return names;
    };
    load(kPoints);
    EXPECT_EQ(off(0), "Ausschneiiden Kopieren Einfügen Löschen ");  // the settings line
    click_line(2);
    EXPECT_EQ(popup(2, "mnucopy"),
              (std::vector<std::string>{"Neuer Befehl Ctrl+N", "-", "Ausschneiiden Ctrl+X",
                                        "Kopieren Ctrl+C", "Einfügen Ctrl+V (off)", "Löschen Del",
                                        "-", "Alles makieren Ctrl+A", "Mehr anzeigen Ctrl+D", "-",
                                        "Aufnahme einfügen "}));
    EXPECT_EQ(model->befehl_kopie[0], kPoints[1]);

    // The buffer now holds a command: Paste is offered; the list grows from the menu.
    const int compact = view->height();
    EXPECT_EQ(off(2, "mnudisplay"), "");
    EXPECT_EQ(list()->height(), 268);
    EXPECT_EQ(view->height() - compact, 130);  // 9619 and 7665 twips at 15 twips per pixel
    EXPECT_EQ(popup(2, "mnudisplay")[8], "Weniger anzeigen Ctrl+D");
    EXPECT_EQ(list()->height(), 134);
    EXPECT_EQ(view->height(), compact);
}

TEST_F(ViewTest, FocusShowsOnEveryControlAndTheMenuKeyOpensAtTheLine) {
    QApplication::setActiveWindow(view.get());
    for (QWidget* w : view->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!w->isVisible() || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus)) continue;
        const QRect around = w->geometry().adjusted(-4, -4, 4, 4);
        w->setFocus(Qt::TabFocusReason);
        const QImage focused = view->grab(around).toImage();
        w->clearFocus();
        EXPECT_NE(focused, view->grab(around).toImage()) << w->objectName().toStdString();
    }
    load(kPoints);
    click_line(2);
    QCursor::setPos(view->mapToGlobal(QPoint(5, 5)));  // the pointer is elsewhere
    QRect menu;
    QTimer::singleShot(0,
                       [&] { menu = view->popup_menu()->geometry(), view->popup_menu()->close(); });
    QTest::keyClick(list(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(
        menu.adjusted(-1, -1, 1, 1).contains(list()->viewport()->mapToGlobal(line_centre(2))));
}

// Hands over one click, then reports the stop key.
struct OneClick : InputRecorder {
    bool take(std::vector<RecordedInput>& out) override {
        RecordedInput e;
        e.kind = InputKind::button_press;
        e.x = 7, e.y = 8;
        out.push_back(e);
        return true;
    }
};

TEST_F(ViewTest, RecordingInsertsAfterTheCurrentLine) {
    load(kPoints);
    click_line(2);
    std::string minimised;
    model->on_minimize = [&](bool m) { minimised += m ? "min " : "back"; };
    model->recorder_factory = [](const RecorderRequest&, std::string&) {
        return std::unique_ptr<InputRecorder>(new OneClick);
    };
    popup(2, "mnurecord");
    settle();
    const std::vector<std::string> want = {
        kPoints[0], kPoints[1], "code:|002|xpos:|7|ypos:|8|", "code:|003|mouseclick:|left|",
        kPoints[2], kPoints[3]};
    EXPECT_EQ(std::vector<std::string>(model->befehl.begin() + 1, model->befehl.begin() + 7), want);
    EXPECT_EQ(list()->count(), 7);
    EXPECT_EQ(minimised, "min back");
}

TEST_F(ViewTest, ListSelectionKeysAndDoubleClickFollowWhatTheUserSees) {
    load(kPoints);
    click_line(1);
    QTest::keyClick(list(), Qt::Key_A, Qt::ControlModifier);
    settle();
    EXPECT_EQ(selection(), "1 2 3 4 / 1 2 3 4");
    // The pressed line was part of the selection: it alone must become current at the press.
    click_line(3);
    EXPECT_EQ(selection(), "3 / 3");
    EXPECT_EQ(get<QLineEdit>("txt_2_x")->text(), "3");
    // The menu's Delete acts on what the user sees selected, not on the earlier selection.
    popup(3, "mnudelete");
    EXPECT_EQ(model->befehl[3], kPoints[3]);

    click_line(1);
    click_line(3, Qt::ShiftModifier);
    EXPECT_EQ(selection(), "1 2 3 / 1 2 3");
    EXPECT_EQ(model->befehl_aktuell, 1);  // a multiple selection keeps the current command

    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, line_centre(2));
    settle(600);  // the pause of the settings record, then the step
    const auto moves = platform->calls_of("set_cursor_pos");
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].args, "2 2");
}

TEST_F(ViewTest, ADroppedMvnFileLoadsAndOtherDropsAreRefused) {
    const auto url = [](const std::filesystem::path& p) {
        return QUrl::fromLocalFile(QString::fromStdString(p.string()));
    };
    const auto drop = [&](const QList<QUrl>& urls) {
        QMimeData mime;
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(list()->viewport(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(list()->viewport(), &event);
        settle();
    };
    const auto a = write_macro("a.mvn", {"code:|002|xpos:|7|ypos:|8|"});
    const auto b = write_macro("b.mvn", {});
    type_into("txt_0_wait", "100");
    drop({url(a), url(b)});  // one file at a time only
    drop({QUrl(QStringLiteral("https://example.org/x.mvn"))});
    EXPECT_EQ(get<QLineEdit>("txt_0_wait")->text(), "100");
    drop({url(a)});
    EXPECT_EQ(get<QLineEdit>("txt_0_wait")->text(), "500");
    EXPECT_EQ(list()->item(1)->text().toStdString(), "001 - code: 002 xpos: 7 ypos: 8 ");
}

// The document's view starts from a clean macro.
class DocumentViewTest : public ViewTest {
  protected:
    DocumentViewTest() { model->document.mark_clean(); }
    // The view polls the title; QTRY_COMPARE would not fail a GoogleTest test.
    bool shows_title(const QString& title) {
        return QTest::qWaitFor([&] { return view->windowTitle() == title; }, 2000);
    }
};

TEST_F(DocumentViewTest, TitleAndCloseQuestionFollowEdits) {
    EXPECT_TRUE(shows_title("Mavorin – mavorin.mvn"));
    model->txt_0_wait.set_text("20");
    EXPECT_TRUE(shows_title("Mavorin – mavorin.mvn *"));
    platform->ask_answers = {2};  // Abbrechen
    EXPECT_FALSE(view->close());
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(platform->questions.size(), 1u);
}

TEST_F(DocumentViewTest, RunningStartButtonIgnoresKeys) {
    auto* start = qobject_cast<QPushButton*>(view->widget("cmd_start"));
    view->activateWindow();
    start->setFocus();
    start->click();
    view->sync_all();
    ASSERT_TRUE(model->running());
    EXPECT_FALSE(view->widget("txt_0_wait")->isEnabled());
    EXPECT_FALSE(start->hasFocus());
    for (int key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(start, static_cast<Qt::Key>(key));
        EXPECT_TRUE(model->running()) << key;
    }
    start->click();
    view->sync_all();
    EXPECT_FALSE(model->running());
    EXPECT_EQ(start->focusPolicy(), Qt::StrongFocus);
}

// A window that reaches no desktop refuses to start, saying why; a run shows in the tray, whose
// "Abbrechen" stops it as the abort key does.
TEST_F(DocumentViewTest, StartNeedsADesktopAndTheTrayFollowsTheRun) {
    qt::RunTray tray(*model);
    auto* start = qobject_cast<QPushButton*>(view->widget("cmd_start"));
    model->no_desktop = "kein Desktop.";
    start->click();
    tray.refresh();
    EXPECT_FALSE(model->running());
    EXPECT_FALSE(tray.wanted());
    ASSERT_EQ(platform->questions.size(), 1u);
    EXPECT_NE(platform->questions[0].text.find("kein Desktop."), std::string::npos);
    model->no_desktop.clear();
    start->click();
    tray.refresh();
    ASSERT_TRUE(model->running());
    EXPECT_TRUE(tray.wanted());
    EXPECT_EQ(tray.tooltip().toStdString(), "Mavorin – läuft, Durchlauf 1 von 2");
    tray.abort_action()->trigger();
    settle();
    tray.refresh();
    view->sync_all();
    EXPECT_FALSE(model->running());
    EXPECT_FALSE(tray.wanted());
    EXPECT_EQ(start->text(), QStringLiteral("Start"));
}

class ServicesTest : public ::testing::Test {
  protected:
    ServicesTest() {
        window.setGeometry(100, 80, 300, 200);
        window.show();
        services.set_window(&window);
    }
    // Runs `act` on the first modal dialog that opens while `call` runs.
    template <class Dialog, class Call>
    auto answering(const std::function<void(Dialog*)>& act, Call call) {
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                poll.stop();
                auto* dialog = qobject_cast<Dialog*>(modal);
                ASSERT_NE(dialog, nullptr);
                act(dialog);
            }
        });
        poll.start(5);
        return call();
    }
    QWidget window;
    qt::QtWindowServices services;
};

TEST_F(ServicesTest, OpacityAndTopmostKeepTheWindowWhereItWas) {
    services.make_layered();
    services.set_alpha(81);
    EXPECT_NEAR(window.windowOpacity(), 81 / 255.0, 0.01);

    const QRect before = window.geometry();
    for (bool on : {true, false}) {
        services.set_topmost(on);
        QCoreApplication::processEvents();
        EXPECT_EQ(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint), on);
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.geometry(), before);
    }
}

// Message boxes return the button pressed; a question's details are shown whole, above the
// buttons, and Escape answers its cancel button.
TEST_F(ServicesTest, MessageBoxesAndQuestionsAnswerByButton) {
    const auto press = [](QMessageBox::StandardButton which) {
        return std::function<void(QMessageBox*)>(
            [which](QMessageBox* box) { box->button(which)->click(); });
    };
    const auto ask = [&] { return services.message_box("Wirklich?", kMbYesNoQuestion); };
    EXPECT_EQ(answering(press(QMessageBox::No), ask), kIdNo);
    EXPECT_EQ(answering(press(QMessageBox::Yes), ask), kIdYes);
    Question q;
    q.text = "Ausführen?";
    q.details = "Befehl 1: 006 " + std::string(3000, 'x') + "\nBefehl 2: 007 reboot";
    q.buttons = {"&Ausführen", "Abbrechen"};
    q.default_button = q.cancel_button = 1;
    QString shown;
    int list_y = -1, button_y = -1;
    const auto escape = [&](QMessageBox* box) {
        // Answer first of all: a failed check must not leave the box open.
        if (auto* list = box->findChild<QPlainTextEdit*>()) {
            shown = list->toPlainText();
            list_y = list->geometry().bottom();
        }
        button_y = box->buttons().at(0)->mapTo(box, QPoint(0, 0)).y();
        QKeyEvent escape_key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(box, &escape_key);
    };
    EXPECT_EQ(answering<QMessageBox>(escape, [&] { return services.ask(q); }), 1);
    EXPECT_EQ(shown.toStdString(), q.details);
    EXPECT_LT(list_y, button_y);
}

TEST_F(ServicesTest, FileDialogsShowTheFilterAndPresetAndReturnTheChoice) {
    const QString folder = QDir::tempPath();
    QStringList filters;
    EXPECT_EQ(answering<QFileDialog>(
                  [&](QFileDialog* dialog) {
                      filters = dialog->nameFilters();
                      dialog->reject();
                  },
                  [&] {
                      return services.open_file_dialog("Mavorin (*.mvn)|*.mvn|Alle|*.*",
                                                       folder.toStdString() + "/x.mvn");
                  }),
              "");
    EXPECT_EQ(filters, (QStringList{QStringLiteral("Mavorin (*.mvn) (*.mvn)"),
                                    QStringLiteral("Alle (*.*)")}));

    QString chosen;
    const std::string saved = answering<QFileDialog>(
        [&](QFileDialog* dialog) {
            chosen = dialog->selectedFiles().value(0);
            QMetaObject::invokeMethod(dialog, "accept");
        },
        [&] {
            return services.save_file_dialog("Bitmap|*.bmp", folder.toStdString() + "/shot.bmp");
        });
    EXPECT_EQ(chosen, folder + QStringLiteral("/shot.bmp"));  // the preset name is offered
    EXPECT_EQ(saved, chosen.toStdString());
}

// The real loop wakes before a deadline and sleeps the last part of the way: a tick must still
// never run before its deadline, and every tick runs, in order.
TEST(QtEventLoopTest, TicksNeverRunBeforeTheirDeadline) {
    using steady = std::chrono::steady_clock;
    const auto before = steady::now();  // no later than the loop's own start
    qt::QtEventLoop loop;
    form::Timer fast(loop, "fast", 3), slow(loop, "slow", 7);
    std::vector<std::pair<int64_t, double>> ticks;  // deadline, real ms since `before`
    const auto record = [&] {
        ticks.emplace_back(
            loop.tick_time(),
            std::chrono::duration<double, std::milli>(steady::now() - before).count());
    };
    fast.on_tick = record;
    slow.on_tick = record;
    fast.set_enabled(true);
    slow.set_enabled(true);
    while (ticks.size() < 40) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    for (size_t i = 0; i < ticks.size(); ++i) {
        EXPECT_GE(ticks[i].second, static_cast<double>(ticks[i].first)) << "tick " << i;
        if (i > 0) EXPECT_GE(ticks[i].first, ticks[i - 1].first) << "tick " << i;
    }
}

}  // namespace
}  // namespace mavorin

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

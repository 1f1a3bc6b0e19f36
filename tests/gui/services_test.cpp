// Qt's window services: opacity, z-order, message boxes and file dialogs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "platform/desktop_platform.hpp"
#include "qt/qt_window_services.hpp"

namespace mavorin {
namespace {

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

TEST_F(ServicesTest, OpacityTopmostAndRectangle) {
    services.make_layered();
    services.set_alpha(81);
    EXPECT_NEAR(window.windowOpacity(), 81 / 255.0, 0.01);
    services.set_alpha(255);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);

    const QRect before = window.geometry();
    for (bool on : {true, false}) {
        services.set_topmost(on);
        QCoreApplication::processEvents();
        EXPECT_EQ(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint), on);
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.geometry(), before);
    }

    const double tx = services.twips_per_pixel_x();
    EXPECT_DOUBLE_EQ(tx, 1440.0 / window.screen()->logicalDotsPerInchX());
    const TwipRect r = services.window_rect_twips();
    EXPECT_EQ(r.left, static_cast<int>(window.frameGeometry().x() * tx));
    EXPECT_EQ(r.height,
              static_cast<int>(window.frameGeometry().height() * services.twips_per_pixel_y()));
}

TEST_F(ServicesTest, MessageBoxesReturnTheButtonPressed) {
    QString title, text;
    const auto press = [&](QMessageBox::StandardButton which) {
        return std::function<void(QMessageBox*)>([&, which](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            box->button(which)->click();
        });
    };
    const auto ask = [&] { return services.message_box("Wirklich?", kMbYesNoQuestion); };
    EXPECT_EQ(answering(press(QMessageBox::No), ask), kIdNo);
    EXPECT_EQ(text, QStringLiteral("Wirklich?"));
    EXPECT_EQ(title, QCoreApplication::applicationName());
    EXPECT_EQ(answering(press(QMessageBox::Yes), ask), kIdYes);
}

// A question's details are shown whole, above the buttons; Escape answers the cancel button.
TEST_F(ServicesTest, QuestionsShowTheirDetailsAndAnswerByButton) {
    Question q;
    q.text = "Ausführen?";
    q.details = "Befehl 1: 006 " + std::string(3000, 'x') + "\nBefehl 2: 007 reboot";
    q.buttons = {"&Ausführen", "Abbrechen"};
    q.default_button = q.cancel_button = 1;
    QString shown;
    int list_y = -1, button_y = -1;
    const auto act = [&](int key) {
        return std::function<void(QMessageBox*)>([&, key](QMessageBox* box) {
            // Answer first of all: a failed check must not leave the box open.
            if (auto* list = box->findChild<QPlainTextEdit*>()) {
                shown = list->toPlainText();
                list_y = list->geometry().bottom();
            }
            button_y = box->buttons().at(0)->mapTo(box, QPoint(0, 0)).y();
            if (key) {
                QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
                QApplication::sendEvent(box, &press);
            } else {
                box->buttons().at(0)->click();
            }
        });
    };
    EXPECT_EQ(answering(act(Qt::Key_Escape), [&] { return services.ask(q); }), 1);
    EXPECT_EQ(shown.toStdString(), q.details);
    EXPECT_LT(list_y, button_y);
    EXPECT_EQ(answering(act(0), [&] { return services.ask(q); }), 0);
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

}  // namespace
}  // namespace mavorin

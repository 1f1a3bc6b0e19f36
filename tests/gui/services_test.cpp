// The Qt timer loop and Qt's window services.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "form/event_loop.hpp"
#include "platform/desktop_platform.hpp"
#include "qt/qt_event_loop.hpp"
#include "qt/qt_window_services.hpp"

namespace mavorin {
namespace {

// Spins the Qt loop until `done` holds or two seconds pass (a generous bound, not a target).
bool spin_until(const std::function<bool()>& done) {
    QEventLoop wait;
    QTimer poll, give_up;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done()) wait.quit();
    });
    QObject::connect(&give_up, &QTimer::timeout, &wait, &QEventLoop::quit);
    poll.start(1);
    give_up.start(2000);
    wait.exec();
    return done();
}

TEST(QtEventLoop, TicksOnTimeAndKeepsThePhase) {
    qt::QtEventLoop loop;
    form::Timer fast(loop, "fast", 15);
    form::Timer slow(loop, "slow", 40);
    std::vector<int64_t> fast_deadlines, fast_real;
    int slow_ticks = 0;
    fast.on_tick = [&] {
        fast_deadlines.push_back(loop.tick_time());
        fast_real.push_back(loop.now_ms());
    };
    slow.on_tick = [&] { ++slow_ticks; };
    const int64_t start = loop.now_ms();
    fast.set_enabled(true);
    slow.set_enabled(true);
    ASSERT_TRUE(spin_until([&] { return fast_deadlines.size() >= 6; }));
    fast.set_enabled(false);

    // Never early, and every deadline a whole number of periods after the start: late wake-ups
    // do not push later ticks back.
    for (size_t i = 0; i < fast_deadlines.size(); ++i) {
        EXPECT_GE(fast_real[i], fast_deadlines[i]);
        EXPECT_EQ((fast_deadlines[i] - start) % 15, 0) << i;
        if (i) EXPECT_GT(fast_deadlines[i], fast_deadlines[i - 1]);
    }
    EXPECT_GE(slow_ticks, 1);

    // A disabled timer stays quiet.
    const size_t seen = fast_deadlines.size();
    ASSERT_TRUE(spin_until([&] { return slow_ticks >= 3; }));
    EXPECT_EQ(fast_deadlines.size(), seen);
}

TEST(QtEventLoop, ATickThatEnablesAnotherTimerWakesItUp) {
    qt::QtEventLoop loop;
    form::Timer first(loop, "first", 5);
    form::Timer second(loop, "second", 500);
    int second_ticks = 0;
    first.on_tick = [&] {
        first.set_enabled(false);
        second.set_interval(5);  // shorter than the deadline already armed
        second.set_enabled(true);
    };
    second.on_tick = [&] {
        ++second_ticks;
        second.set_enabled(false);
    };
    first.set_enabled(true);
    EXPECT_TRUE(spin_until([&] { return second_ticks == 1; }));
}

TEST(QtWindowServices, FilterTextBecomesQtNameFilters) {
    EXPECT_EQ(qt::QtWindowServices::name_filter("Mavorin (*.mvn)|*.mvn|Alle|*.*"),
              "Mavorin (*.mvn) (*.mvn);;Alle (*.*)");
    EXPECT_EQ(qt::QtWindowServices::name_filter("Bitmap|*.bmp"), "Bitmap (*.bmp)");
    EXPECT_EQ(qt::QtWindowServices::name_filter("lonely"), "");
}

class ServicesTest : public ::testing::Test {
  protected:
    ServicesTest() {
        window.setGeometry(100, 80, 300, 200);
        window.show();
        services.set_window(&window);
    }
    // Runs `act` on the first modal widget that opens while `call` runs.
    template <class Call>
    auto answering(const std::function<void(QWidget*)>& act, Call call) {
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                poll.stop();
                act(modal);
            }
        });
        poll.start(5);
        return call();
    }
    QWidget window;
    qt::QtWindowServices services;
};

TEST_F(ServicesTest, ClipboardHoldsExactlyTheText) {
    services.clipboard_set_text("Zähler 42");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Zähler 42"));
    services.clipboard_set_text("");
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
}

TEST_F(ServicesTest, OpacityTopmostAndRectangle) {
    services.make_layered();
    services.set_alpha(81);
    EXPECT_NEAR(window.windowOpacity(), 81 / 255.0, 0.01);
    services.set_alpha(255);
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);

    const QRect before = window.geometry();
    services.set_topmost(true);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.geometry(), before);
    services.set_topmost(false);
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window.geometry(), before);

    const double tx = services.twips_per_pixel_x();
    EXPECT_DOUBLE_EQ(tx, 1440.0 / window.screen()->logicalDotsPerInchX());
    const TwipRect r = services.window_rect_twips();
    const QRect f = window.frameGeometry();
    EXPECT_EQ(r.left, static_cast<int>(f.x() * tx));
    EXPECT_EQ(r.width, static_cast<int>(f.width() * tx));
    EXPECT_EQ(r.height, static_cast<int>(f.height() * services.twips_per_pixel_y()));
}

TEST_F(ServicesTest, MessageBoxAnswers) {
    QString title, text;
    auto press = [&](QMessageBox::StandardButton which) {
        return [&, which](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            text = box->text();
            box->button(which)->click();
        };
    };
    EXPECT_EQ(answering(press(QMessageBox::No),
                        [&] { return services.message_box("Wirklich?", kMbYesNoQuestion); }),
              kIdNo);
    EXPECT_EQ(text, QStringLiteral("Wirklich?"));
    EXPECT_EQ(title, QCoreApplication::applicationName());
    EXPECT_EQ(answering(press(QMessageBox::Yes),
                        [&] { return services.message_box("Wirklich?", kMbYesNoQuestion); }),
              kIdYes);
    EXPECT_EQ(
        answering(press(QMessageBox::Ok), [&] { return services.message_box("reboot", kMbOk); }),
        kIdOk);
    EXPECT_EQ(text, QStringLiteral("reboot"));
}

TEST_F(ServicesTest, FileDialogsPresetFilterAndCancel) {
    const QString folder = QDir::tempPath();
    QStringList filters;
    auto cancel = [&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        filters = dialog->nameFilters();
        dialog->reject();
    };
    EXPECT_EQ(answering(cancel,
                        [&] {
                            return services.open_file_dialog("Makro|*.mvn",
                                                             folder.toStdString() + "/x.mvn");
                        }),
              "");
    EXPECT_EQ(filters, QStringList{QStringLiteral("Makro (*.mvn)")});

    QString chosen;
    auto accept = [&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        chosen = dialog->selectedFiles().value(0);
        QMetaObject::invokeMethod(dialog, "accept");
    };
    const std::string saved = answering(accept, [&] {
        return services.save_file_dialog("Bitmap|*.bmp", folder.toStdString() + "/shot.bmp");
    });
    EXPECT_EQ(chosen, folder + QStringLiteral("/shot.bmp"));  // the preset name is offered
    EXPECT_EQ(saved, chosen.toStdString());
}

}  // namespace
}  // namespace mavorin

// The Qt view of the document: title, the close question, and a Start button keys cannot press.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>

#include "app/frm_mavorin.hpp"
#include "form/event_loop.hpp"
#include "platform/recording/recording_platform.hpp"
#include "qt/main_window.hpp"

namespace mavorin {
namespace {

class DocumentViewTest : public ::testing::Test {
  protected:
    DocumentViewTest()
        : folder(std::filesystem::temp_directory_path() /
                 ("mavorin-docview-" + std::to_string(QCoreApplication::applicationPid()))) {
        std::filesystem::create_directories(folder);
        platform = std::make_unique<RecordingPlatform>(clock, folder.string());
        model = std::make_unique<frm_mavorin>(*platform, clock);
        view = std::make_unique<qt::MainWindow>(*model);
        view->show();
        model->startup.Form_Load();
        model->document.mark_clean();
        QCoreApplication::processEvents();
    }
    ~DocumentViewTest() override {
        view.reset();
        std::filesystem::remove_all(folder);
    }
    // The view polls the title; QTRY_COMPARE would not fail a GoogleTest test.
    bool shows_title(const QString& title) {
        return QTest::qWaitFor([&] { return view->windowTitle() == title; }, 2000);
    }
    std::filesystem::path folder;
    form::VirtualClock clock;
    std::unique_ptr<RecordingPlatform> platform;
    std::unique_ptr<frm_mavorin> model;
    std::unique_ptr<qt::MainWindow> view;
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

}  // namespace
}  // namespace mavorin

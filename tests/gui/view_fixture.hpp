// The window under test: the core on a virtual clock with the recording platform, and its Qt view.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/frm_mavorin.hpp"
#include "form/event_loop.hpp"
#include "platform/recording/recording_platform.hpp"
#include "qt/main_window.hpp"

namespace mavorin {

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
    // Loads a macro of the given records through the list's drop handler.
    void load(const std::vector<std::string>& records) {
        const auto file = folder / "macro.mvn";
        std::ofstream out(file, std::ios::binary);
        out << ".mvn 0000\r\ncode:|000|wait:|500|loop:|1|start:|no|stop:|ESC|\r\n";
        for (const auto& r : records) out << r << "\r\n";
        out.close();
        model->lst_code.on_drop({file.string()});
        settle();
    }
    std::vector<int> model_selection() const {
        std::vector<int> rows;
        for (int i = 0; i < model->lst_code.list_count(); ++i)
            if (model->lst_code.selected(i)) rows.push_back(i);
        return rows;
    }
    std::vector<int> widget_selection() {
        std::vector<int> rows;
        for (int i = 0; i < list()->count(); ++i)
            if (list()->item(i)->isSelected()) rows.push_back(i);
        return rows;
    }
    void click_line(int row) {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, line_centre(row));
        settle();
    }

    std::filesystem::path folder;
    form::VirtualClock clock;
    std::unique_ptr<RecordingPlatform> platform;
    std::unique_ptr<frm_mavorin> model;
    std::unique_ptr<qt::MainWindow> view;
};

}  // namespace mavorin

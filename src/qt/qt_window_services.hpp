// What Qt does for the main window: opacity, z-order, event passes, boxes, dialogs.
#pragma once

#include <QWidget>

#include "platform/desktop_platform.hpp"

namespace mavorin::qt {

class QtWindowServices : public WindowServices {
  public:
    void set_window(QWidget* w) { window_ = w; }

    void make_layered() override {}  // every top-level Qt window accepts an opacity
    void set_alpha(int alpha) override;
    void set_topmost(bool on) override;
    void process_pending_events() override;
    int message_box(const std::string& text, int style) override;
    int ask(const Question& question) override;
    TwipRect window_rect_twips() override;
    std::string open_file_dialog(const std::string& filter, const std::string& preset) override;
    std::string save_file_dialog(const std::string& filter, const std::string& preset) override;
    double twips_per_pixel_x() override;
    double twips_per_pixel_y() override;

    // "desc|*.a|desc2|*.b" as a Qt name filter "desc (*.a);;desc2 (*.b)".
    static QString name_filter(const std::string& filter);

  private:
    QWidget* window_ = nullptr;
};

}  // namespace mavorin::qt

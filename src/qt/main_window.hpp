// The Qt view of frm_mavorin: one widget per control, bound both ways, laid out as a fixed form.
#pragma once

#include <QListWidget>
#include <QMenu>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "app/form_table.hpp"
#include "app/frm_mavorin.hpp"
#include "form/controls.hpp"

namespace mavorin::qt {

// The command list: forwards presses, keys, double clicks and dropped files to the model.
class CommandListWidget : public QListWidget {
    Q_OBJECT
  public:
    explicit CommandListWidget(form::ListBox& model, QWidget* parent);
    // Copies the widget's selection and focus line into the model (no handler runs).
    void copy_selection_to_model();
    // Applies pending model changes to the widgets, so that input meets what the model shows.
    std::function<void()> before_input;
    // Where the next popup opens when the keyboard asked for it (global); else at the pointer.
    std::optional<QPoint> popup_at;

  protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

  private:
    void catch_up();
    form::ListBox& model_;
};

class MainWindow : public QWidget, public form::ControlObserver {
    Q_OBJECT
  public:
    explicit MainWindow(frm_mavorin& model);
    ~MainWindow() override;

    void control_changed(form::Control& c) override;
    // Brings every widget in line with its control now (normally deferred to the event loop).
    void sync_all();
    // The widget of a control, by the control's name; throws std::out_of_range for a name
    // without one.
    QWidget* widget(const std::string& name) const;
    QMenu* popup_menu() const { return menu_; }

    // Called when the window is closed by the user.
    std::function<void()> on_close;

  protected:
    void closeEvent(QCloseEvent* e) override;
    // The window manager's frame is known only once the window is placed.
    void moveEvent(QMoveEvent* e) override;

  private:
    template <class W>
    W* add(form::Control& c, W* w);
    void bind_all();
    QWidget* bind(const FormRow& row, form::Control& c);
    QWidget* bind_picture(const FormRow& row, form::Image& img);
    QWidget* bind_list(form::ListBox& lb);
    void bind_menu();
    void schedule_flush();
    void flush();
    void sync(form::Control* c);
    void apply_form();
    // In document_view.cpp: the title follows the document; Start is mouse-only while running.
    void watch_document();
    void refresh_title();
    void guard_start_button(QWidget* start);
    // In program_dialog.cpp: Linux programs, by the executable bit.
    void replace_program_browsing();

    frm_mavorin& m_;
    std::map<form::Control*, QWidget*> widgets_;
    std::map<std::string, QWidget*> by_name_;
    std::map<form::Control*, std::function<void()>> syncers_;
    std::set<form::Control*> dirty_;
    bool flush_pending_ = false;
    bool syncing_ = false;
    QMenu* menu_ = nullptr;
    std::vector<QWidget*> lowered_;  // frames that lie under the fields
    int frame_height_ = 0;           // title bar and borders, in pixels
};

}  // namespace mavorin::qt

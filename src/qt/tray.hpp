// The tray icon of a run: where the desktop has a tray, a stop that stays in reach whatever
// window has the focus.
#pragma once

#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

#include "app/frm_mavorin.hpp"

namespace mavorin::qt {

class RunTray : public QObject {
  public:
    explicit RunTray(frm_mavorin& model, QObject* parent = nullptr);
    // Follows the run: the icon shows while it lasts, its tooltip the pass.
    void refresh();
    // True while the icon should show (a run is on); shown only where a tray exists.
    bool wanted() const { return wanted_; }
    QString tooltip() const { return icon_.toolTip(); }
    // "Abbrechen": stops the run as the abort key does.
    QAction* abort_action() { return &abort_; }

  private:
    frm_mavorin& m_;
    QSystemTrayIcon icon_;
    QMenu menu_;
    QAction abort_;
    bool wanted_ = false;
    bool tray_ = false;
    QElapsedTimer asked_;
};

}  // namespace mavorin::qt

// The core's timer loop on Qt: one precise single-shot QTimer armed at the next absolute deadline.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include "form/event_loop.hpp"

namespace mavorin::qt {

class QtEventLoop : public QObject, public form::EventLoop {
  public:
    QtEventLoop();
    int64_t now_ms() const override { return clock_.elapsed(); }

  private:
    void rearm();
    void fire();
    QElapsedTimer clock_;
    QTimer wake_;
};

}  // namespace mavorin::qt

// A full-screen Wayland window of one colour with a white block at its top left; prints READY once
// shown and "press X Y BUTTON" for each click, in screen coordinates (it covers the screen).
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QRasterWindow>
#include <cstdio>

class ClickLog : public QRasterWindow {
  public:
    explicit ClickLog(QColor colour) : colour_(colour) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(QRect(QPoint(0, 0), size()), colour_);
        p.fillRect(0, 0, 200, 100, Qt::white);
        if (!ready_) std::printf("READY\n");
        ready_ = true;
        std::fflush(stdout);
    }
    void mousePressEvent(QMouseEvent* e) override {
        const QPoint at = e->position().toPoint();
        std::printf("press %d %d %d\n", at.x(), at.y(), int(e->button()));
        std::fflush(stdout);
    }

  private:
    QColor colour_;
    bool ready_ = false;
};

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("wlclicklog"));
    ClickLog window(QColor(argc > 1 ? argv[1] : "#ff8000"));
    window.showFullScreen();
    return app.exec();
}

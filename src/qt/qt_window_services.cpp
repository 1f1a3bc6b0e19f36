// Qt's side of the platform.
#include "qt/qt_window_services.hpp"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <algorithm>

#include "qt/qt_text.hpp"
#include "qt/window_system.hpp"

namespace mavorin::qt {

void QtWindowServices::set_alpha(int alpha) {
    if (!window_) return;
    window_->setWindowOpacity(alpha / 255.0);
    flush_window_system();
}

void QtWindowServices::set_topmost(bool on) {
    if (!window_ || window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) return;
    const QRect geometry = window_->geometry();
    const bool shown = window_->isVisible();
    window_->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    window_->setGeometry(geometry);  // changing the flags must not move or resize the window
    if (shown) window_->show();
    flush_window_system();
}

void QtWindowServices::process_pending_events() {
    QCoreApplication::processEvents();
}

int QtWindowServices::message_box(const std::string& text, int style) {
    const QString title = QCoreApplication::applicationName();
    if (style == kMbYesNoQuestion) {
        auto answer =
            QMessageBox::question(window_, title, q(text), QMessageBox::Yes | QMessageBox::No);
        return answer == QMessageBox::Yes ? kIdYes : kIdNo;
    }
    QMessageBox::information(window_, title, q(text));
    return kIdOk;
}

namespace {

// The details go between the text and the buttons, in a read-only box that scrolls, so that a
// long list is shown in full rather than cut off at the screen's edge.
void add_details(QMessageBox& box, const std::string& details) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    auto* buttons = box.findChild<QDialogButtonBox*>();
    const int at = grid && buttons ? grid->indexOf(buttons) : -1;
    if (at < 0) {
        box.setText(box.text() + QStringLiteral("\n\n") + q(details));
        return;
    }
    int row = 0, column = 0, rows = 0, columns = 0;
    grid->getItemPosition(at, &row, &column, &rows, &columns);
    grid->removeWidget(buttons);
    auto* list = new QPlainTextEdit(&box);
    list->setReadOnly(true);
    list->setPlainText(q(details));
    list->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const int lines = static_cast<int>(std::min<qsizetype>(q(details).count(u'\n') + 2, 14));
    list->setMinimumSize(560, lines * list->fontMetrics().lineSpacing() + 12);
    grid->addWidget(list, row, 0, 1, grid->columnCount());
    grid->addWidget(buttons, row + 1, column, rows, columns);
}

}  // namespace

int QtWindowServices::ask(const Question& question) {
    QMessageBox box(window_);
    box.setWindowTitle(QCoreApplication::applicationName());
    box.setText(q(question.text));
    // One button only tells (a failed save, lost characters): no question mark for that.
    box.setIcon(question.buttons.size() > 1 ? QMessageBox::Question : QMessageBox::Warning);
    std::vector<QPushButton*> buttons;
    for (const auto& caption : question.buttons)
        buttons.push_back(box.addButton(q(caption), QMessageBox::ActionRole));
    const int n = static_cast<int>(buttons.size());
    const int cancel =
        question.cancel_button >= 0 ? question.cancel_button : question.default_button;
    if (question.default_button >= 0 && question.default_button < n)
        box.setDefaultButton(buttons[question.default_button]);
    if (cancel >= 0 && cancel < n) box.setEscapeButton(buttons[cancel]);
    if (!question.details.empty()) add_details(box, question.details);
    box.exec();
    for (int i = 0; i < n; ++i)
        if (box.clickedButton() == buttons[i]) return i;
    return cancel;
}

TwipRect QtWindowServices::window_rect_twips() {
    if (!window_) return {};
    const QRect r = window_->frameGeometry();
    const double tx = twips_per_pixel_x(), ty = twips_per_pixel_y();
    return {static_cast<int>(r.x() * tx), static_cast<int>(r.y() * ty),
            static_cast<int>(r.width() * tx), static_cast<int>(r.height() * ty)};
}

QString QtWindowServices::name_filter(const std::string& filter) {
    const QStringList parts = q(filter).split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + QStringLiteral(" (") + parts[i + 1] + QStringLiteral(")");
    return out.join(QStringLiteral(";;"));
}

std::string QtWindowServices::open_file_dialog(const std::string& filter,
                                               const std::string& preset) {
    return s(QFileDialog::getOpenFileName(window_, QString(), q(preset), name_filter(filter)));
}

std::string QtWindowServices::save_file_dialog(const std::string& filter,
                                               const std::string& preset) {
    return s(QFileDialog::getSaveFileName(window_, QString(), q(preset), name_filter(filter)));
}

double QtWindowServices::twips_per_pixel_x() {
    const QScreen* screen = window_ ? window_->screen() : QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

double QtWindowServices::twips_per_pixel_y() {
    const QScreen* screen = window_ ? window_->screen() : QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

}  // namespace mavorin::qt

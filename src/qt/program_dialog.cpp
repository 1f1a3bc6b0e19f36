// Browsing for a program to start: Linux programs have no extension, so the choice is by the
// executable bit, not by a name pattern.
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>

#include "qt/main_window.hpp"
#include "qt/qt_text.hpp"

namespace mavorin::qt {

namespace {

QString browse_program(QWidget* parent, const QString& current) {
    const QFileInfo info(current);
    const QString folder = !current.isEmpty() && info.absoluteDir().exists()
                               ? info.absolutePath()
                               : QStringLiteral("/usr/bin");
    QFileDialog dialog(parent, QStringLiteral("Programmpfad suchen"), folder);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);  // the filter by permission needs Qt's
    const QString programs = QStringLiteral("Programme (*)");
    dialog.setNameFilters({programs, QStringLiteral("Alle Dateien (*)")});
    const auto show = [&dialog, programs](const QString& chosen) {
        QDir::Filters f = QDir::AllDirs | QDir::NoDot | QDir::Files;
        if (chosen == programs) f |= QDir::Executable;
        dialog.setFilter(f);
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, show);
    show(programs);
    if (info.isFile()) dialog.selectFile(info.absoluteFilePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace

void MainWindow::replace_program_browsing() {
    // In front of the handler, which would offer Windows' ".exe" and ".bat" only.
    auto* button = widget(m_.cmd_6_pfad.name());
    disconnect(button, nullptr, this, nullptr);
    connect(qobject_cast<QPushButton*>(button), &QPushButton::clicked, this, [this] {
        const QString chosen = browse_program(this, q(m_.txt_6_pfad.text()));
        if (!chosen.isEmpty()) m_.txt_6_pfad.set_text(s(chosen));
    });
}

}  // namespace mavorin::qt

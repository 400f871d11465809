#include "userprompts.h"

#include <QApplication>
#include <QFileDialog>

namespace UserPrompts {
namespace {
MessageBoxHandler messageBoxHandler;
FileDialogHandler fileDialogHandler;
} // namespace

QMessageBox::StandardButton MsgBox(const QString& text, const QString& title,
                                   QMessageBox::StandardButtons buttons) {
    if (messageBoxHandler) {
        return messageBoxHandler({text, title, buttons});
    }
    QMessageBox box(QMessageBox::NoIcon, title, text, buttons, QApplication::activeWindow());
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString ChooseFile(FileDialogMode mode, const QString& filter, const QString& fileName) {
    if (fileDialogHandler) {
        return fileDialogHandler({mode, filter, fileName});
    }
    // The filter comes as "Caption|pattern|Caption|pattern"; Qt wants "Caption (pattern);;...".
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList qtFilters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString caption = parts[i];
        const QString pattern = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        if (!caption.contains(QLatin1Char('('))) {
            caption += QStringLiteral(" (") + pattern + QLatin1Char(')');
        }
        qtFilters << caption;
    }
    const QString joined = qtFilters.join(QStringLiteral(";;"));
    QWidget* parent = QApplication::activeWindow();
    return mode == FileDialogMode::Open
               ? QFileDialog::getOpenFileName(parent, QString(), fileName, joined)
               : QFileDialog::getSaveFileName(parent, QString(), fileName, joined);
}

void setMessageBoxHandler(MessageBoxHandler handler) {
    messageBoxHandler = std::move(handler);
}
void setFileDialogHandler(FileDialogHandler handler) {
    fileDialogHandler = std::move(handler);
}

} // namespace UserPrompts

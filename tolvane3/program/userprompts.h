#pragma once
// Every message box and file dialog goes through here, so that tests can answer them.

#include <QMessageBox>
#include <QString>
#include <functional>

namespace UserPrompts {

struct MessageBoxRequest {
    QString text;
    QString title;
    QMessageBox::StandardButtons buttons;
};
using MessageBoxHandler = std::function<QMessageBox::StandardButton(const MessageBoxRequest&)>;

// The title of boxes that have none of their own.
inline constexpr QLatin1StringView ProgramTitle("Tolvane3");

// Shows a modal message box (a nested event loop runs while it is open) and returns the answer.
QMessageBox::StandardButton MsgBox(const QString& text, const QString& title = ProgramTitle,
                                   QMessageBox::StandardButtons buttons = QMessageBox::Ok);

enum class FileDialogMode { Open, Save };
struct FileDialogRequest {
    FileDialogMode mode;
    QString filter;
    QString fileName;
};
using FileDialogHandler = std::function<QString(const FileDialogRequest&)>;

// Returns the chosen file name, or "" when the user cancelled.
QString ChooseFile(FileDialogMode mode, const QString& filter, const QString& fileName = {});

// Tests replace the real dialogs; an empty handler restores them.
void setMessageBoxHandler(MessageBoxHandler handler);
void setFileDialogHandler(FileDialogHandler handler);

} // namespace UserPrompts

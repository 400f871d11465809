#include "chartfiles.h"

#include "program/userprompts.h"

#include <QPixmap>
#include <QSaveFile>
#include <QWidget>

namespace TrendData {

void SavePicture(QWidget& view, const QString& suggestedName) {
    const QString name =
        UserPrompts::ChooseFile(UserPrompts::FileDialogMode::Save,
                                QStringLiteral("PNG Files (*.png)|*.png"), suggestedName);
    if (!name.isEmpty() && !view.grab().save(name, "PNG")) {
        UserPrompts::MsgBox(QStringLiteral("Error writing ") + name);
    }
}

void SaveData(const QString& suggestedName, const std::function<QByteArray()>& csv) {
    const QString name =
        UserPrompts::ChooseFile(UserPrompts::FileDialogMode::Save,
                                QStringLiteral("CSV Files (*.csv)|*.csv"), suggestedName);
    if (name.isEmpty()) {
        return;
    }
    QSaveFile file(name);
    const QByteArray bytes = csv();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        UserPrompts::MsgBox(QStringLiteral("Error writing ") + name);
    }
}

} // namespace TrendData

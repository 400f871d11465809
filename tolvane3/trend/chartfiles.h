#pragma once
// Save Picture and Save Data of a chart window: the name asked for, the file written whole, and
// a failure said once.

#include <QByteArray>
#include <QString>
#include <functional>

class QWidget;

namespace TrendData {

// The widget as drawn, as a PNG file.
void SavePicture(QWidget& view, const QString& suggestedName);
// The text is made only once a name is chosen.
void SaveData(const QString& suggestedName, const std::function<QByteArray()>& csv);

} // namespace TrendData

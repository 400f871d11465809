#pragma once
// "ERROR:" lines from the module: the error log and the error list window.

#include <QString>

namespace Global {

void HandleErrorLine(const QString& line);

} // namespace Global

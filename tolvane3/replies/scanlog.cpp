#include "program/Global.h"

namespace Global {

// mode 0 whole line, 1 field followed by a comma, 2 last field. Writes only while a log file is
// open, and no log file can be opened yet.
void LogLine(int, const QString&) {}

} // namespace Global

#include "errorlist.h"

namespace Global {

// The error list window and the error log take these lines once they exist.
void HandleErrorLine(const QString&) {}

} // namespace Global

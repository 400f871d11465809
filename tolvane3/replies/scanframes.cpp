#include "scanframes.h"

namespace Global {

// Scan frames feed the bar graph and the scan log; both arrive with their windows and files.
void HandleFrameLine(const ReplyTokens&, const QString&) {}

void HandleChannelLine(int, const ReplyTokens&, const QString&, int) {}

} // namespace Global

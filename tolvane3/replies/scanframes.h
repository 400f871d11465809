#pragma once
// Frame and channel lines of a low-speed scan: the bar graph and the trend window, the end-of-scan
// test, the log, and the warnings of values beyond full scale or alarm limits.

#include "replytokens.h"

namespace Global {

void HandleFrameLine(const ReplyTokens& tokens, const QString& line);
// channel is 0..15; valueIndex is 1 (pressure) or 2 (temperature), the token the bar shows.
void HandleChannelLine(int channel, const ReplyTokens& tokens, const QString& line, int valueIndex);

// Panel 2 names the channels beyond full scale or alarm limits while a scan runs; nothing once it
// ends, so that a warning never outlives the values it is about.
void ShowChannelWarnings();
// No more values follow (a new scan begins, the connection went): every excursion ends.
void EndChannelWarnings();

} // namespace Global

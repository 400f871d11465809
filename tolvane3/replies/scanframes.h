#pragma once
// Frame and channel lines of a low-speed scan: the bar graph and the trend window, the end-of-scan
// test and the log.

#include "replytokens.h"

namespace Global {

void HandleFrameLine(const ReplyTokens& tokens, const QString& line);
// channel is 0..15; valueIndex is 1 (pressure) or 2 (temperature), the token the bar shows.
void HandleChannelLine(int channel, const ReplyTokens& tokens, const QString& line, int valueIndex);

} // namespace Global

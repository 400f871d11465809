#pragma once
// Frame and channel lines of a low-speed scan: the bar graph and the trend window, the end-of-scan
// test, the log, and the warnings of values beyond full scale or alarm limits.

#include "replytokens.h"

namespace Global {

void HandleFrameLine(const ReplyTokens& tokens, const QString& line);
// channel is 0..15; valueIndex is 1 (pressure) or 2 (temperature), the token the bar shows.
void HandleChannelLine(int channel, const ReplyTokens& tokens, const QString& line, int valueIndex);

// Values beyond full scale or alarm limits are warned of from the start of a scan until Stop, the
// end of its last frame or a lost connection: panel 2 names their channels meanwhile, and values
// arriving after the end (in flight when Stop was sent) warn of nothing.
void BeginChannelWarnings();
void EndChannelWarnings();

} // namespace Global

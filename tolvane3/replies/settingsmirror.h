#pragma once
// "SET key value..." lines: the program's copy of the module's settings and list sequencing.

#include "replytokens.h"

namespace Global {

void HandleSetLine(const ReplyTokens& tokens, const QString& line);

} // namespace Global

#pragma once
// Where the module sends its high-speed frames, checked against where this program takes them.

#include "replytokens.h"

namespace Global {

// Tokens 2 to 4 of a "SET HOST address port protocol" line. On a mismatch the corrected setting
// is sent and RebootPending set: the module takes it only after saving and rebooting.
void CheckBinaryHost(const ReplyTokens& tokens);

} // namespace Global

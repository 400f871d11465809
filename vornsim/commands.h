#pragma once

#include <QByteArray>

namespace vornsim {

class Session;

// Runs one command line (without its terminator) through the command table. Command words are
// matched without regard to case; empty lines are ignored; unknown words get the invalid-
// command reply. Every refusal is also kept in the module's error list.
void runCommand(Session& session, const QByteArray& line);

} // namespace vornsim

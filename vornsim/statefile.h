#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace vornsim {

struct ModuleState;

// What a SAVE keeps, as a text file of "SET key value" lines, then the "INSERT" lines of the
// point tables, with CR LF ends (LF is read too), so a person can read and edit it.

// The lines the file holds for this state, without line ends.
QList<QByteArray> stateFileLines(const ModuleState& state);

// Replaces the file in one step, so a crash never leaves half a file. Empty on success, else why.
QString writeStateFile(const QString& path, const ModuleState& state);

// Applies each line as the SET or INSERT command it spells. Empty on success or when there is no
// file; else why the file was refused, naming the line (the lines before it are applied).
QString readStateFile(const QString& path, ModuleState& state);

} // namespace vornsim

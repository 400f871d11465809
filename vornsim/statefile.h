#pragma once

#include <QString>

namespace vornsim {

class ModuleSettings;

// What a SAVE keeps, as a text file of "SET key value" lines with CR LF ends (LF is read too),
// so a person can read and edit it.

// Replaces the file in one step, so a crash never leaves half a file. Empty on success, else why.
QString writeStateFile(const QString& path, const ModuleSettings& settings);

// Applies each line as the SET command it spells. Empty on success or when there is no file;
// else why the file was refused, naming the line (the lines before it are applied).
QString readStateFile(const QString& path, ModuleSettings& settings);

} // namespace vornsim

#pragma once
// Reads the text files that are sent to the module, line by line: single-byte text, lines ended
// by CR LF or LF. A line end at the very end of the file starts no further (empty) line.

#include <QString>
#include <optional>

class QIODevice;

// The next line without its line end; nothing at the end of the file or when reading fails.
std::optional<QString> NextFileLine(QIODevice& file);

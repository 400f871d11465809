#pragma once
// The scan log: one text file at a time that records the traffic the log settings choose. Its
// state lives in Global (LogFileOpen, LogFileName, LogAsCsv); records go through Global::LogLine.
// Beside a log that is a plain file, its sidecar (recordingsidecar.h) tells what its numbers are:
// written when the log opens, on a lost connection and when it closes.

#include <QString>

namespace Global {

// Asks for a new or existing file; a cancelled choice changes nothing. An open log is closed
// first, so that only one file is ever open and the indicators name it.
void OpenLogFile();
// Writes what is still held back, closes the file and shows that no log is open.
void CloseLogFile();
// Ends a comma-separated row that a missing channel line left open, so that the next frame's
// row starts on a line of its own.
void EndOpenLogRow();

// The open log's sidecar learns the frame that came last, and a setting the mirror took.
void NoteLogFrame(const QString& frame);
void NoteLogSetting(const QString& key, const QString& value);
// Writes the open log's sidecar as things stand; nothing when no log is open.
void UpdateLogSidecar();

} // namespace Global

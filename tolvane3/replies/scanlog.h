#pragma once
// The scan log: one text file at a time that records the traffic the log settings choose. Its
// state lives in Global (LogFileOpen, LogFileName, LogAsCsv); records go through Global::LogLine.

namespace Global {

// Asks for a new or existing file; a cancelled choice changes nothing. An open log is closed
// first, so that only one file is ever open and the indicators name it.
void OpenLogFile();
// Writes what is still held back, closes the file and shows that no log is open.
void CloseLogFile();
// Ends a comma-separated row that a missing channel line left open, so that the next frame's
// row starts on a line of its own.
void EndOpenLogRow();

} // namespace Global

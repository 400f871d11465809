#pragma once
// FERROW.CFG: the start-up settings of the capture console, written where the console reads it
// (the current directory, which it inherits) under the one name both programs use.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace CaptureConfig {

inline constexpr QLatin1StringView FileName("FERROW.CFG");

// The file's bytes: module address, frames per scan and data file name, each on a CR LF line,
// then the UDP port only when it is not the module's default 23. A value is cut at its first CR
// or LF, which would otherwise start a line of its own.
QByteArray Text(const QString& address, const QString& framesPerScan, const QString& dataFileName,
                quint16 udpPort);

// True when the console reads the data file name back exactly as written: it takes the rest of
// a line of at most 254 bytes, without surrounding blanks, in single-byte text.
bool ReadsBackExactly(const QString& dataFileName);

// The base name the console adds ".bin" and ".csv" to for a data file name, in its current
// directory: the extension of the final name cut (directories kept); without a name its own
// default, "Data.bin".
QString CaptureBaseName(const QString& dataFileName);

// True for a frame count the console captures as given: a whole number from 1 to 2^31 - 1,
// blanks around it allowed. Anything else it would replace by its default of 100 frames.
bool IsFrameCount(const QString& framesPerScan);

} // namespace CaptureConfig

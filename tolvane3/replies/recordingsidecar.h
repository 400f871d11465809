#pragma once
// A recording's sidecar: "<recording file name>.json", one JSON object telling what the numbers
// of the recording are (unit, frame period, module, settings) and when and how it was made. The
// recording itself keeps its bytes; the sidecar is replaced whole, never half written.

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <optional>

namespace RecordingSidecar {

// "tolvane3 3.03"
QString ProgramText();
// UTC, ISO 8601 with milliseconds: "2026-12-07T11:20:03.125Z".
QString TimeText(const QDateTime& time);

// The module and its scan settings as this program last heard them: "module", "settings",
// "fullScales", "unit" and "framePeriodSeconds", each left out while unknown.
QJsonObject ModuleState();

// What a scan log's sidecar tells besides the module's state.
struct ScanLogFacts {
    QDateTime start;
    QDateTime end; // invalid while the log is open
    qint64 rowsWritten = 0;
    bool csv = false;
    QJsonObject moduleState;   // ModuleState() as in force at the log's first frame
    QJsonArray settingChanges; // {"frame", "key", "value"} in the order taken
    qint64 changesOmitted = 0; // past the most kept
};
QJsonObject ScanLog(const ScanLogFacts& facts);

// A setting change as a scan log's sidecar lists it; the frame is left out before the first.
QJsonObject SettingChange(const QString& frame, const QString& key, const QString& value);

// A capture's sidecar: what the capture console measured and wrote, with this program's part of
// the hand-off added. The console's own keys ("program", "capture", ...) stay its own.
QJsonObject MergedCapture(const QJsonObject& consolePart, const QJsonObject& handOff);

// The sidecar of a recording: an empty object when there is none, nothing when the file there
// is not a JSON object (or far too large to be a sidecar).
std::optional<QJsonObject> Read(const QString& recordingName);
// Replaces the sidecar of a recording whole; false when it could not be written.
bool Write(const QString& recordingName, const QJsonObject& sidecar);

} // namespace RecordingSidecar

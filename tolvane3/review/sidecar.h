#pragma once
// What a recording's sidecar (a JSON object in "<recording>.json") tells the review window: the
// unit of the values and the time from one frame to the next. A missing, unreadable or invalid
// sidecar tells nothing.

#include <QByteArray>
#include <QString>
#include <optional>

namespace ReviewData {

struct Sidecar {
    QString unit;                  // "" when unknown
    double framePeriodSeconds = 0; // 0 when unknown
};

std::optional<Sidecar> SidecarFrom(const QByteArray& json);

// The sidecar of the recording: "<name>.json" beside it, or for a capture's conversion
// NAME.csv that of its capture, "NAME.bin.json".
std::optional<Sidecar> SidecarOf(const QString& recordingFile);

} // namespace ReviewData

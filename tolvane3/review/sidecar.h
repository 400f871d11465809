#pragma once
// What a recording's sidecar (a JSON object in "<recording>.json") tells the review window: the
// unit of the values, the time from one frame to the next, and the whole of it as text to show
// beside the chart. A missing, unreadable or invalid sidecar tells nothing.

#include <QByteArray>
#include <QString>
#include <optional>

namespace ReviewData {

struct Sidecar {
    QString unit;                  // "" when unknown
    double framePeriodSeconds = 0; // 0 when unknown
    // One line a key, as written: "key: value", an object's members "name value" apart by
    // commas, a list's items by commas, a range [a, b] within a list as "a-b".
    QString description;
};

std::optional<Sidecar> SidecarFrom(const QByteArray& json);

// The sidecar of the recording: "<name>.json" beside it, or for a capture's conversion
// NAME.csv that of its capture, "NAME.bin.json".
std::optional<Sidecar> SidecarOf(const QString& recordingFile);

} // namespace ReviewData

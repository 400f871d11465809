#pragma once
// The capture the last high-speed scan left: the conversion the capture console writes for the
// data file name it was handed, and the frame period known when it was handed over.

#include <QString>
#include <optional>

namespace ReviewData {

// The conversion the console writes for a data file name: its base name and ".csv".
QString CaptureCsvName(const QString& dataFileName);

struct LastCapture {
    QString csvPath;        // absolute
    double framePeriod = 0; // seconds, 0 when unknown
};

// Called when a high-speed scan has ended, in the directory the console ran in.
void NoteHighSpeedScan(const QString& dataFileName, double framePeriod);
std::optional<LastCapture> LastCaptureWritten();

} // namespace ReviewData

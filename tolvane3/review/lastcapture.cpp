#include "lastcapture.h"

#include "connection/captureconfig.h"

#include <QDir>
#include <QFile>

namespace ReviewData {
namespace {

std::optional<LastCapture> last;

} // namespace

QString CaptureCsvName(const QString& dataFileName) {
    return CaptureConfig::CaptureBaseName(dataFileName) + QStringLiteral(".csv");
}

void NoteHighSpeedScan(const QString& dataFileName, double framePeriod) {
    last = LastCapture{QDir::current().absoluteFilePath(CaptureCsvName(dataFileName)), framePeriod};
}

std::optional<LastCapture> LastCaptureWritten() {
    if (last && !QFile::exists(last->csvPath)) {
        return std::nullopt;
    }
    return last;
}

} // namespace ReviewData

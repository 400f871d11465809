#include "lastcapture.h"

#include <QDir>
#include <QFile>
#include <algorithm>

namespace ReviewData {
namespace {

std::optional<LastCapture> last;

} // namespace

QString CaptureCsvName(const QString& dataFileName) {
    if (dataFileName.isEmpty()) {
        return QStringLiteral("Data.bin.csv");
    }
    const qsizetype nameStart = std::max(dataFileName.lastIndexOf(QLatin1Char('/')),
                                         dataFileName.lastIndexOf(QLatin1Char('\\'))) +
                                1;
    const qsizetype dot = dataFileName.lastIndexOf(QLatin1Char('.'));
    const QString base = dot >= nameStart ? dataFileName.first(dot) : dataFileName;
    return base + QStringLiteral(".csv");
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

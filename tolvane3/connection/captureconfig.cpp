#include "captureconfig.h"

#include "Main.h"
#include "mainwindow/LinkConfig.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/userprompts.h"
#include "scanconfig/VornConfig.h"

#include <QDir>
#include <QLineEdit>
#include <QSaveFile>
#include <algorithm>

namespace CaptureConfig {
namespace {

constexpr QLatin1StringView DataFileKey("SET BFILENAME ");
// The console reads a line in pieces of this many bytes, its line end included.
constexpr qsizetype ConsoleLineBytes = 254;
constexpr quint16 ModuleUdpPort = 23;

QByteArray Line(QLatin1StringView key, const QString& value) {
    const auto lineBreak = std::find_if(value.begin(), value.end(), [](QChar c) {
        return c == QLatin1Char('\r') || c == QLatin1Char('\n');
    });
    return key.toString().toLatin1() + value.first(lineBreak - value.begin()).toLatin1() + "\r\n";
}

bool IsBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

} // namespace

QByteArray Text(const QString& address, const QString& framesPerScan, const QString& dataFileName,
                quint16 udpPort) {
    QByteArray text = Line(QLatin1StringView("SET IPADDR "), address) +
                      Line(QLatin1StringView("SET FPS "), framesPerScan) +
                      Line(DataFileKey, dataFileName);
    if (udpPort != ModuleUdpPort) {
        text += Line(QLatin1StringView("SET UDPPORT "), QString::number(udpPort));
    }
    return text;
}

bool ReadsBackExactly(const QString& dataFileName) {
    if (dataFileName.isEmpty()) {
        return true; // the console keeps its own default name, as it would for an empty field
    }
    const bool singleByte = std::all_of(dataFileName.begin(), dataFileName.end(),
                                        [](QChar c) { return c.unicode() <= 0xFF; });
    return singleByte && !dataFileName.contains(QLatin1Char('\r')) &&
           !dataFileName.contains(QLatin1Char('\n')) && !IsBlank(dataFileName.front()) &&
           !IsBlank(dataFileName.back()) &&
           DataFileKey.size() + dataFileName.size() + 2 <= ConsoleLineBytes;
}

QString CaptureBaseName(const QString& dataFileName) {
    if (dataFileName.isEmpty()) {
        return QStringLiteral("Data.bin");
    }
    const qsizetype nameStart = std::max(dataFileName.lastIndexOf(QLatin1Char('/')),
                                         dataFileName.lastIndexOf(QLatin1Char('\\'))) +
                                1;
    const qsizetype dot = dataFileName.lastIndexOf(QLatin1Char('.'));
    return dot >= nameStart ? dataFileName.first(dot) : dataFileName;
}

bool IsFrameCount(const QString& framesPerScan) {
    const QString digits = framesPerScan.trimmed();
    const bool allDigits =
        !digits.isEmpty() && std::all_of(digits.begin(), digits.end(), [](QChar c) {
            return c >= QLatin1Char('0') && c <= QLatin1Char('9');
        });
    bool fits = false;
    const qint32 count = digits.toInt(&fits);
    return allDigits && fits && count >= 1;
}

} // namespace CaptureConfig

namespace Global {

// Replaced whole or not at all: a console started meanwhile never reads half a file. A failure
// is said by every writer alike (Apply, the dialogs' Close, StartScan), each time it happens.
bool WriteCaptureConfig() {
    const LinkConfig& linkConfig = FormInstance<LinkConfig>::instance();
    const QByteArray text =
        CaptureConfig::Text(FormInstance<Main>::instance().txtIpAdd->text(),
                            FormInstance<VornConfig>::instance().medFps->text(),
                            linkConfig.txtHssFileName->text(), linkConfig.hssUdpPort());
    QSaveFile file(CaptureConfig::FileName.toString());
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit()) {
        return true;
    }
    UserPrompts::MsgBox(QStringLiteral("Error writing ") +
                        QDir::current().absoluteFilePath(CaptureConfig::FileName.toString()));
    return false;
}

} // namespace Global

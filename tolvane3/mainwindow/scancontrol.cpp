// Scan control: start and stop a scan, zero calibration, saving the module's settings. A
// high-speed scan is handed to the capture console, which takes the module over until it ends.

#include "LinkConfig.h"
#include "MDIMain.h"
#include "connection/Main.h"
#include "connection/autoreconnect.h"
#include "connection/captureconfig.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/userprompts.h"
#include "replies/recordingsidecar.h"
#include "replies/scanframes.h"
#include "replies/scanlog.h"
#include "review/lastcapture.h"
#include "scanconfig/VornConfig.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>

namespace {

QString CaptureConsolePath() {
#ifdef Q_OS_WIN
    constexpr QLatin1StringView program("/ferrow.exe");
#else
    constexpr QLatin1StringView program("/ferrow");
#endif
    return QCoreApplication::applicationDirPath() + program;
}

// The console reads its settings from FERROW.CFG; a file it would misread, or that could not be
// written, would capture the wrong module or lose the data file name, so the scan stops here.
bool PrepareCaptureConsole() {
    if (!CaptureConfig::IsFrameCount(FormInstance<VornConfig>::instance().medFps->text())) {
        UserPrompts::MsgBox(QStringLiteral(
            "Frames Per Scan must be a whole number of at least 1 for a high speed scan"));
        return false;
    }
    const QString dataFileName = FormInstance<LinkConfig>::instance().txtHssFileName->text();
    if (!CaptureConfig::ReadsBackExactly(dataFileName)) {
        UserPrompts::MsgBox(QStringLiteral("Ferrow cannot use the data file name ") + dataFileName);
        return false;
    }
    return Global::WriteCaptureConfig();
}

// Written since the hand-off; a second's slack for file systems whose clock lags behind.
bool WrittenSince(const QString& fileName, const QDateTime& handedOver) {
    const QFileInfo file(fileName);
    return file.exists() && file.lastModified() >= handedOver.addSecs(-1);
}

// The console describes the capture it made; this program adds what it knew of the module when
// it handed the scan over. Without a sidecar of the console's from this run (it failed, or an
// older run's is there) this program's part stands alone; a file there that is no sidecar is left
// as it is, and so is everything when the console made no capture (it could not start).
void CompleteCaptureSidecar(const QString& captureFile, const QJsonObject& handOff,
                            const QDateTime& handedOver) {
    if (!WrittenSince(captureFile, handedOver)) {
        return;
    }
    const std::optional<QJsonObject> consolePart =
        WrittenSince(captureFile + QStringLiteral(".json"), handedOver)
            ? RecordingSidecar::Read(captureFile)
            : QJsonObject();
    if (consolePart && !RecordingSidecar::Write(
                           captureFile, RecordingSidecar::MergedCapture(*consolePart, handOff))) {
        UserPrompts::MsgBox(QStringLiteral("Error writing ") + captureFile +
                            QStringLiteral(".json"));
    }
}

} // namespace

void MDIMain::mnuStartScan_Click() {
    if (!FormInstance<LinkConfig>::instance().chkHSS->isChecked()) {
        Global::SetScanning();
        Global::SendVornCommand(QStringLiteral("SCAN\r"));
        return;
    }
    if (!PrepareCaptureConsole()) {
        return;
    }
    // Taken while connected: the module's address and settings as they are handed over.
    QJsonObject handOff = RecordingSidecar::ModuleState();
    handOff.insert(QStringLiteral("handedOffBy"), RecordingSidecar::ProgramText());
    const QString dataFileName = FormInstance<LinkConfig>::instance().txtHssFileName->text();
    const QString captureFile =
        CaptureConfig::CaptureBaseName(dataFileName) + QStringLiteral(".bin");
    const QDateTime handedOver = QDateTime::currentDateTimeUtc();
    Main& window = FormInstance<Main>::instance();
    window.closeSocket();
    Global::SetDisconnected();
    setStatusPanel(2, QStringLiteral("High speed scan running in the Ferrow console"));
    const double framePeriod = Global::ExtTrigScan ? 0.0 : Global::FramePeriod;
    ExecCmd(CaptureConsolePath());
    CompleteCaptureSidecar(captureFile, handOff, handedOver);
    ReviewData::NoteHighSpeedScan(dataFileName, framePeriod);
    mnuReviewLastCapture->setEnabled(ReviewData::LastCaptureWritten().has_value());
    window.autoReconnector->connectAgain();
}

// The menus come back first, before the module has answered; a row the scan left unfinished is
// ended, so that the records after it reach the file at once, and the warnings end.
void MDIMain::mnuStop_Click() {
    Global::RestoreAfterScan();
    Global::EndOpenLogRow();
    Global::EndChannelWarnings();
    Global::SendVornCommand(QStringLiteral("STOP\r"));
}

void MDIMain::mnuCalZero_Click() {
    Global::SendVornCommand(QStringLiteral("CALZ\r"));
}

void MDIMain::mnuSaveSettings_Click() {
    Global::SendVornCommand(QStringLiteral("SAVE\r"));
}

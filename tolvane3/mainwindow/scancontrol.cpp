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
#include "replies/scanframes.h"
#include "replies/scanlog.h"
#include "scanconfig/VornConfig.h"

#include <QCheckBox>
#include <QCoreApplication>
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
    Main& window = FormInstance<Main>::instance();
    window.closeSocket();
    Global::SetDisconnected();
    setStatusPanel(2, QStringLiteral("High speed scan running in the Ferrow console"));
    ExecCmd(CaptureConsolePath());
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

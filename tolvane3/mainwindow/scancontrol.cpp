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

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
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
    const QString dataFileName = FormInstance<LinkConfig>::instance().txtHssFileName->text();
    if (!CaptureConfig::ReadsBackExactly(dataFileName)) {
        UserPrompts::MsgBox(QStringLiteral("Ferrow cannot use the data file name ") + dataFileName);
        return false;
    }
    if (!Global::WriteCaptureConfig()) {
        UserPrompts::MsgBox(QStringLiteral("Error writing ") +
                            QDir::current().absoluteFilePath(CaptureConfig::FileName.toString()));
        return false;
    }
    return true;
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
    ExecCmd(CaptureConsolePath());
    window.autoReconnector->connectAgain();
}

// The menus come back first, before the module has answered.
void MDIMain::mnuStop_Click() {
    Global::RestoreAfterScan();
    Global::SendVornCommand(QStringLiteral("STOP\r"));
}

void MDIMain::mnuCalZero_Click() {
    Global::SendVornCommand(QStringLiteral("CALZ\r"));
}

void MDIMain::mnuSaveSettings_Click() {
    Global::SendVornCommand(QStringLiteral("SAVE\r"));
}

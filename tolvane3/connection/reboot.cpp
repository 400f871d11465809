#include "Main.h"
#include "Timeout.h"
#include "autoreconnect.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/timing.h"
#include "program/userprompts.h"

#include <QTimer>

namespace Global {
namespace {

constexpr int RebootTickMs = 1000;

// Shut-down may unload the windows while a pause or the warning waits; nothing is re-created.
bool StillRunning() {
    return FormInstance<Main>::isLoaded();
}

void ShowRebootProgress() {
    Timeout& progress = FormInstance<Timeout>::instance();
    progress.Timer1->setInterval(Timing::scaled(RebootTickMs));
    progress.Timer1->start();
    RebootTick = 0;
    progress.show();
}

} // namespace

// The module takes its corrected binary host only after saving and rebooting, 35 s in all; the
// user reconnects afterwards (or the program does, with reconnecting by itself on). The pauses
// keep events flowing, so lines still arrive meanwhile.
void RebootModule() {
    if (RebootRunning || ConnState != Connected) {
        RebootPending = false;
        return;
    }
    RebootRunning = true;
    DisableConnectButton(&FormInstance<Main>::instance());
    RebootPending = false;
    SendVornCommand(QStringLiteral("SAVE\r"));
    UserPrompts::MsgBox(
        QStringLiteral("WARNING: Vorn's Binary IP Address does not match host's IP address. "
                       "Changing to match and rebooting. This will take 35 seconds then you must "
                       "reconnect."));
    if (StillRunning()) {
        ShowRebootProgress();
        Pause(5000);
    }
    if (StillRunning()) {
        SendVornCommand(QStringLiteral("reboot\r"));
        Pause(5000);
    }
    if (StillRunning()) {
        FormInstance<Main>::instance().closeSocket();
        SetDisconnected();
        Pause(25000);
    }
    RebootRunning = false;
    if (StillRunning()) {
        Main& window = FormInstance<Main>::instance();
        EnableConnectButton(&window);
        window.autoReconnector->retryAfterReboot();
    }
}

} // namespace Global

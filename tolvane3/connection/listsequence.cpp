#include "Main.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/userprompts.h"
#include "scanconfig/VornConfig.h"

#include <QPushButton>
#include <QTimer>

namespace Global {
namespace {

// The scan-configuration dialog cannot apply while its settings are being read back.
void EnableDialogButtons(bool enabled) {
    if (FormInstance<VornConfig>::isLoaded()) {
        VornConfig& dialog = FormInstance<VornConfig>::instance();
        dialog.cmdApply->setEnabled(enabled);
        dialog.cmdOk->setEnabled(enabled);
    }
}

void SendListCommand(Main& window) {
    window.tmrResponse->start(); // (re)started: a fresh 5 s for this group's answer
    SendVornCommand(QStringLiteral("List ") + ListLetters.mid(ListPosition - 1, 1).trimmed() +
                    QLatin1Char('\r'));
    ++ListPosition;
}

} // namespace

// Asks for one settings group at a time with "List " + letter; the next goes out when the
// previous group's last line has been mirrored or its answer timed out. A new sequence replaces a
// running one.
void StepListSequence(const QString& letters, bool start) {
    Main& window = FormInstance<Main>::instance();
    if (start) {
        // Without a connection no answer can come, only time-out messages.
        if (letters.isEmpty() || ConnState != Connected) {
            return;
        }
        ListLetters = letters;
        ListPosition = 1;
        EnableDialogButtons(false);
        SendListCommand(window);
        return;
    }
    if (ListPosition <= ListLetters.size()) {
        SendListCommand(window);
        return;
    }
    // Over (again, harmlessly, for a group end that came outside a sequence).
    window.tmrResponse->stop();
    if (RebootPending) {
        RebootModule();
    }
    EnableDialogButtons(true);
}

// Without a connection no answer can come: the sequence ends without asking further, without a
// time-out message, and a reboot it was to end with is dropped (the next connection checks again).
void EndListSequence() {
    ListPosition = static_cast<short>(ListLetters.size() + 1);
    RebootPending = false;
    if (FormInstance<Main>::isLoaded()) {
        FormInstance<Main>::instance().tmrResponse->stop();
    }
    EnableDialogButtons(true);
}

} // namespace Global

// The group's answer did not end in time: go on with the next group, then say so.
void Main::tmrResponse_Timer() {
    Global::StepListSequence(QString(), false);
    UserPrompts::MsgBox(QStringLiteral("Timed out waiting for VORN response"));
}

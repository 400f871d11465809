#include "Main.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/timing.h"

#include <QCoreApplication>
#include <QList>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace Global {

void SendVornCommand(const QString& text) {
    if (LogOutgoing) {
        LogLine(0, text);
    }
    // Without a connection window there is no socket, so nothing to send to.
    if (FormInstance<Main>::isLoaded()) {
        FormInstance<Main>::instance().sendBytes(text.toLatin1());
    }
}

void Pause(int milliseconds) {
    const QPointer<Main> window(&FormInstance<Main>::instance());
    PauseDone = false;
    if (milliseconds <= 0) {
        // A timer that never ticks would make this wait forever; just let pending events run.
        QCoreApplication::processEvents();
        PauseDone = true;
        return;
    }
    window->tmrSleep->setInterval(Timing::scaled(milliseconds));
    window->tmrSleep->start();
    while (!PauseDone && window) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    if (window) {
        window->tmrSleep->stop();
    }
}

namespace {

// Destroyed holders turn null and count no more.
QList<QPointer<QObject>> connectButtonHolders;

void UpdateConnectButton() {
    connectButtonHolders.removeAll(nullptr);
    FormInstance<Main>::instance().Command1->setEnabled(connectButtonHolders.isEmpty());
}

} // namespace

void DisableConnectButton(QObject* holder) {
    if (!connectButtonHolders.contains(holder)) {
        connectButtonHolders.append(holder);
    }
    UpdateConnectButton();
}

void EnableConnectButton(QObject* holder) {
    connectButtonHolders.removeAll(holder);
    UpdateConnectButton();
}

} // namespace Global

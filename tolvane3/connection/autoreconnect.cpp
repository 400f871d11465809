#include "autoreconnect.h"

#include "Main.h"
#include "mainwindow/MDIMain.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/timing.h"

#include <QPushButton>
#include <QTimer>
#include <algorithm>

namespace {

constexpr int TickMs = 1000;
constexpr int LongestPauseSeconds = 30;
constexpr int RetriesToLongestPause = 5; // 2^5 s is past the longest pause

} // namespace

AutoReconnector::AutoReconnector(QObject* parent) : QObject(parent) {
    tmrCountdown = Named(new QTimer(this), "tmrCountdown");
    connect(tmrCountdown, &QTimer::timeout, this, &AutoReconnector::tmrCountdown_Timer);
}

int AutoReconnector::PauseSeconds(int retry) {
    return retry >= RetriesToLongestPause ? LongestPauseSeconds : 1 << std::max(retry, 0);
}

bool AutoReconnector::takesOver() const {
    return Global::AutoReconnect && !Global::RebootRunning &&
           (Global::ConnState == Global::Connected || attemptIsOurs_);
}

void AutoReconnector::retryAfterPause(const QString& reason) {
    attemptIsOurs_ = false;
    secondsLeft_ = PauseSeconds(retry_);
    retry_ = std::min(retry_ + 1, RetriesToLongestPause);
    startCountdown();
    FormInstance<MDIMain>::instance().setStatusPanel(2, reason);
}

void AutoReconnector::retryAfterReboot() {
    if (!Global::AutoReconnect) {
        return;
    }
    retry_ = 0;
    retryAfterPause(QString());
}

void AutoReconnector::connectAgain() {
    attemptIsOurs_ = true;
    Global::SetConnecting();
    FormInstance<Main>::instance().connectSocket();
}

void AutoReconnector::connected() {
    retry_ = 0;
    attemptIsOurs_ = false;
}

void AutoReconnector::stop() {
    retry_ = 0;
    attemptIsOurs_ = false;
    if (tmrCountdown->isActive()) {
        tmrCountdown->stop();
        Global::ShowNoConnection();
    }
}

// Shrunk time applies from the next countdown on, like every timer started after the change.
void AutoReconnector::startCountdown() {
    tmrCountdown->setInterval(Timing::scaled(TickMs));
    tmrCountdown->start();
    showCountdown();
}

void AutoReconnector::showCountdown() {
    FormInstance<MDIMain>::instance().setStatusPanel(
        1, QStringLiteral("Reconnecting to ") + Global::ConnectedAddress + QStringLiteral(" in ") +
               QString::number(secondsLeft_) + QStringLiteral(" s"));
}

void AutoReconnector::tmrCountdown_Timer() {
    if (secondsLeft_ > 1) {
        --secondsLeft_;
        showCountdown();
        return;
    }
    Main& window = FormInstance<Main>::instance();
    // A window that holds the Connect button (the link settings being edited) holds the retry
    // as well: it connects on the first tick after the button is free again.
    if (!window.Command1->isEnabled()) {
        return;
    }
    tmrCountdown->stop();
    if (Global::ConnState == Global::Disconnected) {
        connectAgain();
    }
}

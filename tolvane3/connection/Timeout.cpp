#include "Timeout.h"

#include "program/Global.h"
#include "program/forms.h"

#include <QCloseEvent>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

Timeout::Timeout() {
    setObjectName(QStringLiteral("Timeout"));
    setWindowTitle(QStringLiteral("Reboot Progress"));
    setWindowFlags(DialogWindowFlags);
    ProgressBar1 = Named(new QProgressBar(this), "ProgressBar1");
    ProgressBar1->setRange(0, RebootSeconds);
    ProgressBar1->setValue(0);
    ProgressBar1->setAccessibleName(windowTitle());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ProgressBar1);
    setMinimumWidth(320);
    Timer1 = Named(new QTimer(this), "Timer1");
    connect(Timer1, &QTimer::timeout, this, &Timeout::Timer1_Timer);
}

void Timeout::Timer1_Timer() {
    ++Global::RebootTick;
    if (Global::RebootTick < RebootSeconds) {
        ProgressBar1->setValue(Global::RebootTick);
    } else if (Global::RebootTick > RebootSeconds) {
        unloadWindow();
    }
}

// The close box unloads the window like its last tick does, so that no stray tick runs later.
void Timeout::closeEvent(QCloseEvent* event) {
    event->accept();
    unloadWindow();
}

void Timeout::unloadWindow() {
    Timer1->stop();
    Global::RebootTick = 0;
    // Deferred: this may run inside the window's own timer slot.
    deleteLater();
}

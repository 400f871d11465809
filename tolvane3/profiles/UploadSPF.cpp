#include "UploadSPF.h"

#include "filelines.h"
#include "profilelines.h"
#include "program/Global.h"
#include "program/timing.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

enum Step { Idle = 0, Clearing = 1, Sending = 2, FileSent = 3, Filling = 4 };
constexpr int LineIntervalMs = 500;
// Clearing and filling the table each end with the second READY line.
constexpr int TableReadyLines = 2;

} // namespace

UploadSPF::UploadSPF() : SensorProfileDialog(FileUse) {
    setObjectName(QStringLiteral("UploadSPF"));
    btnSave = Named(new QPushButton(QStringLiteral("Save")), "btnSave");
    addButton(btnSave);
    addIdleControl(btnSave);
    tmrUpload = Named(new QTimer(this), "tmrUpload");
    tmrUpload->setInterval(Timing::scaled(LineIntervalMs));

    connect(btnStart, &QPushButton::clicked, this, &UploadSPF::btnStart_Click);
    connect(btnSave, &QPushButton::clicked, this, &UploadSPF::btnSave_Click);
    connect(tmrUpload, &QTimer::timeout, this, &UploadSPF::tmrUpload_Timer);
}

void UploadSPF::unloadLater() {
    FormInstance<UploadSPF>::unloadLater();
}

void UploadSPF::btnStart_Click() {
    // Every run sends the whole file, a second one included.
    file_.seek(0);
    readyCount_ = TableReadyLines;
    setRunning(true);
    step_ = Clearing;
    const QString range =
        Global::Model30 ? QStringLiteral("DELETE 0 59 ") : QStringLiteral("DELETE 0 69 ");
    sendAndShow(range + QString::number(sensorIndex()) + QLatin1Char('\r'));
}

void UploadSPF::HandleLineFromVorn(const QString& sData) {
    if (!running()) {
        return;
    }
    bool ready = false;
    if (readyCount_ >= 0 && sData.contains(QLatin1String("READY"))) {
        --readyCount_;
        ready = readyCount_ == 0;
    }
    switch (step_) {
    case Clearing:
        if (ready) {
            readyCount_ = -1;
            step_ = Sending;
            tmrUpload->start();
        }
        break;
    case FileSent:
        sendFill();
        break;
    case Filling:
        if (ready) {
            step_ = Idle;
            setRunning(false);
            showStatus(QStringLiteral("Done with upload, push SAVE to save in VORN"));
        }
        break;
    default:
        break;
    }
}

void UploadSPF::tmrUpload_Timer() {
    // The file was sent and no module line has come since: without status polls none may come.
    if (step_ == FileSent) {
        sendFill();
        return;
    }
    const std::optional<QString> line = NextFileLine(file_);
    if (!line) {
        step_ = FileSent;
        return;
    }
    const QString profileLine = ModLine(*line, sensorIndex());
    if (!profileLine.isEmpty()) {
        sendAndShow(profileLine + QLatin1Char('\r'));
    }
}

void UploadSPF::sendFill() {
    tmrUpload->stop();
    readyCount_ = TableReadyLines;
    step_ = Filling;
    sendAndShow(QStringLiteral("FILL\r"));
}

void UploadSPF::connectionLost() {
    if (!running()) {
        return;
    }
    tmrUpload->stop();
    step_ = Idle;
    setRunning(false);
    showStatus(QStringLiteral("Connection lost, upload stopped"));
}

void UploadSPF::btnSave_Click() {
    sendAndShow(QStringLiteral("SAVE\r"));
    Form_Unload();
}

void UploadSPF::Form_Unload() {
    tmrUpload->stop();
    SensorProfileDialog::Form_Unload();
}

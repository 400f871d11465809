#include "Upload.h"

#include "filelines.h"
#include "mainwindow/MDIMain.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/timing.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

// A timer of 0 ms would fire at every idle moment, so the shortest dwell is 1 ms; the longest a
// day, which keeps the interval within a timer's range.
constexpr double MinDwellMs = 1;
constexpr double MaxDwellMs = 24 * 60 * 60 * 1000;

int DwellMs() {
    const double dwell = std::nearbyint(Global::LeadingNumber(Global::UploadDwell));
    return static_cast<int>(std::clamp(dwell, MinDwellMs, MaxDwellMs));
}

} // namespace

// A child of the frame, so that it stays over the frame.
Upload::Upload() : ActivatedDialog(&FormInstance<MDIMain>::instance()) {
    setObjectName(QStringLiteral("Upload"));
    setWindowTitle(QStringLiteral("Upload"));
    setWindowFlags(DialogWindowFlags);
    setModal(false);

    Label1 = Named(new QLabel(QStringLiteral("Uploading file")), "Label1");
    labUploadFileName = Named(new QLabel, "labUploadFileName");
    labUploadFileName->setTextFormat(Qt::PlainText);
    labUploadFileName->setAccessibleDescription(Label1->text());
    txtUploadData = Named(new QPlainTextEdit, "txtUploadData");
    txtUploadData->setReadOnly(true);
    txtUploadData->setAccessibleName(QStringLiteral("Lines sent"));
    cmdCancel = Named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    cmdClose = Named(new QPushButton(QStringLiteral("Close")), "cmdClose");
    TimerUpload = Named(new QTimer(this), "TimerUpload");

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(Label1);
    fileRow->addWidget(labUploadFileName, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addWidget(txtUploadData);
    layout->addLayout(buttons);
    resize(480, 320);

    connect(TimerUpload, &QTimer::timeout, this, &Upload::TimerUpload_Timer);
    connect(cmdCancel, &QPushButton::clicked, this, &Upload::cmdCancel_Click);
    connect(cmdClose, &QPushButton::clicked, this, &Upload::cmdClose_Click);
}

void Upload::Form_Activate() {
    Global::DisableConnectButton(this);
}

void Upload::start(std::unique_ptr<QFile> file) {
    file_ = std::move(file);
    SetLabelText(*labUploadFileName, file_->fileName());
    TimerUpload->setInterval(Timing::scaled(DwellMs()));
    TimerUpload->start();
    cmdClose->setEnabled(false);
    bringForward();
}

void Upload::TimerUpload_Timer() {
    const std::optional<QString> line = NextFileLine(*file_);
    if (!line) {
        file_.reset();
        stopSending(QStringLiteral("End of file reached"));
        return;
    }
    // An empty line sends nothing; its tick is used up all the same.
    if (line->isEmpty()) {
        return;
    }
    QTextCursor end = txtUploadData->textCursor();
    end.movePosition(QTextCursor::End);
    end.insertText(*line + QLatin1Char('\n'));
    txtUploadData->setTextCursor(end);
    Global::SendVornCommand(*line + QLatin1Char('\r'));
}

void Upload::stopSending(const QString& outcome) {
    TimerUpload->stop();
    SetLabelText(*labUploadFileName, outcome);
    cmdClose->setEnabled(true);
}

// Whatever ended the sending, Cancel's answer is the last word.
void Upload::cmdCancel_Click() {
    stopSending(QStringLiteral("Upload canceled"));
}

void Upload::connectionLost() {
    if (TimerUpload->isActive()) {
        stopSending(QStringLiteral("Connection lost, upload stopped"));
    }
}

void Upload::cmdClose_Click() {
    TimerUpload->stop();
    file_.reset();
    Global::EnableConnectButton(this);
    // Unloaded from inside its own handler: forgotten now, destroyed once the handler returns.
    FormInstance<Upload>::unloadLater();
}

bool Upload::busy() const {
    return !cmdClose->isEnabled();
}

void Upload::reject() {
    cmdClose_Click();
}

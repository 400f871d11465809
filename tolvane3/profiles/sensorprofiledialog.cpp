#include "sensorprofiledialog.h"

#include "connection/Main.h"
#include "mainwindow/MDIMain.h"
#include "program/Global.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

// A child of the frame, so that it stays over the frame.
SensorProfileDialog::SensorProfileDialog(const ProfileFileUse& use)
    : FormDialog(&FormInstance<MDIMain>::instance()), use_(use) {
    setWindowTitle(QLatin1String(use.windowCaption));
    setWindowFlags(DialogWindowFlags);
    setModal(false);

    txtSensorPosition = Named(new QLineEdit(QStringLiteral("1")), "txtSensorPosition");
    Label1 = LabelFor(txtSensorPosition, "Label1", QStringLiteral("Sensor Position 1 to 16:"));
    labStatusText = Named(new QLabel, "labStatusText");
    // Module text shows as it is, never as markup.
    labStatusText->setTextFormat(Qt::PlainText);
    labStatusText->setAccessibleDescription(QStringLiteral("Progress"));
    labStatusText->setMinimumWidth(360);
    btnStart = Named(new QPushButton(QStringLiteral("Start")), "btnStart");
    btnExit = Named(new QPushButton(QStringLiteral("Close")), "btnExit");

    auto* position = new QHBoxLayout;
    position->addWidget(Label1);
    position->addWidget(txtSensorPosition);
    position->addStretch();
    buttons_ = new QHBoxLayout;
    buttons_->addStretch();
    buttons_->addWidget(btnStart);
    buttons_->addWidget(btnExit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(position);
    layout->addWidget(labStatusText);
    layout->addLayout(buttons_);

    addIdleControl(txtSensorPosition);
    addIdleControl(btnStart);

    connect(txtSensorPosition, &QLineEdit::textChanged, this,
            &SensorProfileDialog::txtSensorPosition_Change);
    connect(btnExit, &QPushButton::clicked, this, &SensorProfileDialog::btnExit_Click);
}

void SensorProfileDialog::addButton(QPushButton* button) {
    buttons_->insertWidget(buttons_->indexOf(btnExit), button);
}

bool SensorProfileDialog::openFile(const QString& name) {
    file_.setFileName(name);
    if (!file_.open(use_.openMode)) {
        return false;
    }
    setWindowTitle(QLatin1String(use_.captionPrefix) + name);
    txtSensorPosition->setText(QStringLiteral("1"));
    setRunning(false);
    // Status polls keep module lines (and READY) coming while the window works.
    FormInstance<Main>::instance().startStatusPoll();
    return true;
}

void SensorProfileDialog::txtSensorPosition_Change() {
    const double index = Global::LeadingNumber(txtSensorPosition->text()) - 1;
    sensorIndex_ = static_cast<int>(std::nearbyint(std::clamp(index, 0.0, 1.0 * LastSensorIndex)));
}

void SensorProfileDialog::setRunning(bool running) {
    running_ = running;
    for (QWidget* control : idleControls_) {
        control->setEnabled(!running);
    }
}

void SensorProfileDialog::showStatus(const QString& text) {
    SetLabelText(*labStatusText, text);
}

void SensorProfileDialog::sendAndShow(const QString& command) {
    Global::SendVornCommand(command);
    showStatus(QStringLiteral("Sent: ") + command);
}

void SensorProfileDialog::btnExit_Click() {
    Form_Unload();
}

void SensorProfileDialog::reject() {
    Form_Unload();
}

void SensorProfileDialog::Form_Unload() {
    file_.close();
    running_ = false;
    Global::ApplyStatusPollChoice();
    // Unloaded from inside its own handler: forgotten now, destroyed once the handler returns.
    unloadLater();
}

#include "LinkConfig.h"

#include "MDIMain.h"
#include "connection/Main.h"
#include "connection/autoreconnect.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/userprompts.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QLineEdit* maskedField(const char* objectName, const QString& mask) {
    auto* field = Named(new QLineEdit, objectName);
    field->setInputMask(mask);
    field->setMaximumWidth(field->fontMetrics().horizontalAdvance(QLatin1Char('0')) *
                               static_cast<int>(mask.size()) +
                           24);
    return field;
}

} // namespace

void SetOptionButton(QRadioButton* button, bool selected) {
    if (selected) {
        button->setChecked(true);
        return;
    }
    const bool exclusive = button->autoExclusive();
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(exclusive);
}

// A child of the frame, so that it stays over the frame.
LinkConfig::LinkConfig() : ActivatedDialog(&FormInstance<MDIMain>::instance()) {
    setObjectName(QStringLiteral("LinkConfig"));
    setWindowTitle(QStringLiteral("Tolvane Configuration"));
    setWindowFlags(DialogWindowFlags);

    Frame2 = Named(new QGroupBox(QStringLiteral("High Speed Scan")), "Frame2");
    chkHSS = Named(new QCheckBox(QStringLiteral("High Speed Scan Enabled")), "chkHSS");
    txtHssFileName = Named(new QLineEdit, "txtHssFileName");
    txtHssFileName->setMinimumWidth(240);
    Label12 = LabelFor(txtHssFileName, "Label12", QStringLiteral("Data File Name"));
    cmdBrowse = Named(new QPushButton(QStringLiteral("Browse")), "cmdBrowse");
    txtHssUdpPort = Named(new QLineEdit(QString::number(DefaultHssUdpPort)), "txtHssUdpPort");
    txtHssUdpPort->setValidator(new QIntValidator(1, 65535, txtHssUdpPort));
    txtHssUdpPort->setMaximumWidth(80);
    Label13 = LabelFor(txtHssUdpPort, "Label13", QStringLiteral("UDP Port"));
    auto* hssLayout = new QGridLayout(Frame2);
    hssLayout->addWidget(chkHSS, 0, 0, 1, 3);
    hssLayout->addWidget(Label12, 1, 0);
    hssLayout->addWidget(txtHssFileName, 1, 1);
    hssLayout->addWidget(cmdBrowse, 1, 2);
    hssLayout->addWidget(Label13, 2, 0);
    hssLayout->addWidget(txtHssUdpPort, 2, 1);

    frmUpload = Named(new QGroupBox(QStringLiteral("Upload Control")), "frmUpload");
    medUploadDwell = maskedField("medUploadDwell", QStringLiteral("000"));
    Label3 = LabelFor(medUploadDwell, "Label3", QStringLiteral("Upload Dwell In ms"));
    auto* uploadLayout = new QFormLayout(frmUpload);
    uploadLayout->addRow(Label3, medUploadDwell);

    chkAutoReconnect =
        Named(new QCheckBox(QStringLiteral("Reconnect automatically")), "chkAutoReconnect");

    frmDataLogging = Named(new QGroupBox(QStringLiteral("Data Logging Control")), "frmDataLogging");
    chkOutgoing = Named(new QCheckBox(QStringLiteral("Log Outging Commands")), "chkOutgoing");
    chkStatusData = Named(new QCheckBox(QStringLiteral("Log Status Data")), "chkStatusData");
    chkErrors = Named(new QCheckBox(QStringLiteral("Log Errors")), "chkErrors");
    chkListData = Named(new QCheckBox(QStringLiteral("Log List Data")), "chkListData");
    chkScanData = Named(new QCheckBox(QStringLiteral("Log Scan Data")), "chkScanData");
    auto* loggingLayout = new QVBoxLayout(frmDataLogging);
    for (QCheckBox* box : {chkOutgoing, chkStatusData, chkErrors, chkListData, chkScanData}) {
        loggingLayout->addWidget(box);
    }

    frmStatusPoll = Named(new QGroupBox(QStringLiteral("Status Poll Control")), "frmStatusPoll");
    optStatusPollOff =
        Named(new QRadioButton(QStringLiteral("Status Poll Off")), "optStatusPollOff");
    optStatusPollAlways =
        Named(new QRadioButton(QStringLiteral("Status Poll On")), "optStatusPollAlways");
    medStatusPollInterval = maskedField("medStatusPollInterval", QStringLiteral("0"));
    Label1 = LabelFor(medStatusPollInterval, "Label1",
                      QStringLiteral("Status Poll Interval in Seconds"));
    auto* pollLayout = new QGridLayout(frmStatusPoll);
    pollLayout->addWidget(optStatusPollOff, 0, 0, 1, 2);
    pollLayout->addWidget(optStatusPollAlways, 1, 0, 1, 2);
    pollLayout->addWidget(Label1, 2, 0);
    pollLayout->addWidget(medStatusPollInterval, 2, 1);

    cmdOk = Named(new QPushButton(QStringLiteral("Close")), "cmdOk");
    setDefaultButton(cmdOk);

    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(Frame2);
    left->addWidget(frmUpload);
    left->addWidget(chkAutoReconnect);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(frmDataLogging);
    right->addWidget(frmStatusPoll);
    right->addStretch();
    columns->addLayout(left);
    columns->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(cmdOk, 0, Qt::AlignRight);

    connect(cmdBrowse, &QPushButton::clicked, this, &LinkConfig::cmdBrowse_Click);
    connect(cmdOk, &QPushButton::clicked, this, &LinkConfig::cmdOk_Click);
}

quint16 LinkConfig::hssUdpPort() const {
    bool isNumber = false;
    const uint port = txtHssUdpPort->text().trimmed().toUInt(&isNumber);
    return isNumber && port >= 1 && port <= 65535 ? static_cast<quint16>(port) : DefaultHssUdpPort;
}

void LinkConfig::Form_Activate() {
    Global::DisableConnectButton(this);
    Global::SettingsToDialog();
}

void LinkConfig::cmdBrowse_Click() {
    const QString fileName =
        UserPrompts::ChooseFile(UserPrompts::FileDialogMode::Open,
                                QStringLiteral("Comma Separated Variable Files (*.csv)|*.csv"));
    if (!fileName.isEmpty()) {
        txtHssFileName->setText(fileName);
    }
}

void LinkConfig::applyFields() {
    Global::EnableConnectButton(this);
    Global::DialogToSettings();
    // Turned off, it stops a countdown in progress too.
    if (!Global::AutoReconnect && FormInstance<Main>::isLoaded()) {
        FormInstance<Main>::instance().autoReconnector->stop();
    }
}

void LinkConfig::cmdOk_Click() {
    applyFields();
    Global::ApplyStatusPollChoice();
    Global::WriteCaptureConfig();
    hide();
}

void LinkConfig::reject() {
    // The close box keeps every setting: it applies the fields and hides like Close, so the
    // high-speed fields, which have no applied copy, are never lost.
    applyFields();
    QDialog::reject();
}

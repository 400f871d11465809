#include "VornConfig.h"

#include "mainwindow/LinkConfig.h"
#include "mainwindow/MDIMain.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/userprompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr float LowSpeedRateLimit = 25.0f; // Hz a low-speed scan over the command port carries

void SendSetting(const char* key, const QString& value) {
    Global::SendVornCommand(QStringLiteral("SET ") + QLatin1String(key) + QLatin1Char(' ') +
                            value.trimmed() + QLatin1Char('\r'));
}

void SendSetting(const char* key, const QCheckBox* box) {
    SendSetting(key, box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace

// A child of the frame, so that it stays over the frame.
VornConfig::VornConfig() : ActivatedDialog(&FormInstance<MDIMain>::instance()) {
    setObjectName(QStringLiteral("VornConfig"));
    setWindowTitle(QStringLiteral("Vorn Configuration"));
    setWindowFlags(DialogWindowFlags);
    setModal(false);

    const auto field = [](const char* objectName) { return Named(new QLineEdit, objectName); };

    // Scan tab.
    medPeriod = field("medPeriod");
    medAverage = field("medAverage");
    medRate = field("medRate");
    medRate->setText(QStringLiteral("0.0"));
    medFps = field("medFps");
    lstUnitScan = Named(new QComboBox, "lstUnitScan");
    medCvtUnits = field("medCvtUnits");
    chkEu = Named(new QCheckBox(QStringLiteral("EU")), "chkEu");
    chkZc = Named(new QCheckBox(QStringLiteral("Zero Correct")), "chkZc");
    chkQPkts = Named(new QCheckBox(QStringLiteral("Queue Scan Output")), "chkQPkts");
    chkXScanTrig = Named(new QCheckBox(QStringLiteral("External Scan Trigger")), "chkXScanTrig");
    Frame1 = Named(new QGroupBox(QStringLiteral("When Using Rate:")), "Frame1");
    optFixPeriod =
        Named(new QRadioButton(QStringLiteral("Fix period to calculate average")), "optFixPeriod");
    optFixAvg =
        Named(new QRadioButton(QStringLiteral("Fix average to calculate period")), "optFixAvg");
    optFixAvg->setChecked(true);
    auto* frameLayout = new QVBoxLayout(Frame1);
    frameLayout->addWidget(optFixPeriod);
    frameLayout->addWidget(optFixAvg);

    auto* scanPage = Named(new QWidget, "tabScan");
    auto* scanFields = new QGridLayout;
    const std::pair<QWidget*, std::pair<const char*, const char*>> scanRows[] = {
        {medPeriod, {"Label1", "Period"}},
        {medAverage, {"Label2", "Average"}},
        {medRate, {"Label3", "Rate in Hz"}},
        {medFps, {"Label4", "Frames Per Scan"}},
        {lstUnitScan, {"Label5", "Conversion Units"}},
        {medCvtUnits, {"Label6", "User Units"}},
    };
    int row = 0;
    for (const auto& [control, label] : scanRows) {
        scanFields->addWidget(LabelFor(control, label.first, QLatin1String(label.second)), row, 0);
        scanFields->addWidget(control, row, 1);
        ++row;
    }
    auto* boxes = new QVBoxLayout;
    for (QCheckBox* box : {chkEu, chkZc, chkQPkts, chkXScanTrig}) {
        boxes->addWidget(box);
    }
    boxes->addWidget(Frame1);
    boxes->addStretch();
    auto* scanLayout = new QHBoxLayout(scanPage);
    scanLayout->addLayout(scanFields);
    scanLayout->addLayout(boxes);

    // Calibration tab: one row per limit, one column per bank.
    medPMaxL = field("medPMaxL");
    medPMaxH = field("medPMaxH");
    medPMinL = field("medPMinL");
    medPMinH = field("medPMinH");
    medNegPtsL = field("medNegPtsL");
    medNegPtsH = field("medNegPtsH");
    auto* calibrationPage = Named(new QWidget, "tabCalibration");
    auto* calibrationLayout = new QGridLayout(calibrationPage);
    calibrationLayout->addWidget(Named(new QLabel(QStringLiteral("Low Bank")), "Label7"), 0, 1);
    calibrationLayout->addWidget(Named(new QLabel(QStringLiteral("High Bank")), "Label8"), 0, 2);
    struct LimitRow {
        const char* labelName;
        const char* caption;
        QLineEdit* low;
        QLineEdit* high;
    };
    const LimitRow limitRows[] = {
        {"Label9", "Max Pressure", medPMaxL, medPMaxH},
        {"Label10", "Min Pressure", medPMinL, medPMinH},
        {"Label11", "Negative Points", medNegPtsL, medNegPtsH},
    };
    row = 1;
    for (const LimitRow& limit : limitRows) {
        const QString caption = QLatin1String(limit.caption);
        calibrationLayout->addWidget(LabelFor(limit.low, limit.labelName, caption), row, 0);
        // One label for two fields: each field's name says its bank as well.
        limit.low->setAccessibleName(caption + QStringLiteral(" Low Bank"));
        limit.high->setAccessibleName(caption + QStringLiteral(" High Bank"));
        calibrationLayout->addWidget(limit.low, row, 1);
        calibrationLayout->addWidget(limit.high, row, 2);
        ++row;
    }
    calibrationLayout->setRowStretch(row, 1);

    SSTab2 = Named(new QTabWidget, "SSTab2");
    SSTab2->addTab(scanPage, QStringLiteral("Scan"));
    SSTab2->addTab(calibrationPage, QStringLiteral("Calibration"));

    cmdApply = Named(new QPushButton(QStringLiteral("Apply")), "cmdApply");
    cmdOk = Named(new QPushButton(QStringLiteral("Close")), "cmdOk");
    cmdCancel = Named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {cmdApply, cmdOk, cmdCancel}) {
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab2);
    layout->addLayout(buttons);

    showReportedSettings();

    connect(cmdApply, &QPushButton::clicked, this, &VornConfig::cmdApply_Click);
    connect(cmdOk, &QPushButton::clicked, this, &VornConfig::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &VornConfig::cmdCancel_Click);
    connect(SSTab2, &QTabWidget::currentChanged, this, &VornConfig::SSTab2_Click);
    connect(medAverage, &QLineEdit::textEdited, this, &VornConfig::medAverage_Change);
    connect(medPeriod, &QLineEdit::textEdited, this, &VornConfig::medPeriod_Change);
    connect(medRate, &QLineEdit::textEdited, this, &VornConfig::medRate_Change);
}

void VornConfig::showReportedSettings() {
    for (auto reported = Global::ReportedScanFields.cbegin();
         reported != Global::ReportedScanFields.cend(); ++reported) {
        if (auto* field = findChild<QLineEdit*>(reported.key())) {
            field->setText(reported.value());
        } else if (auto* box = findChild<QCheckBox*>(reported.key())) {
            box->setChecked(reported.value() == QLatin1String("1"));
        }
    }
}

void VornConfig::Form_Activate() {
    Global::InitUnits();
    Global::StepListSequence(QStringLiteral("SC"), true);
}

void VornConfig::Form_Unload() {
    Global::EnableConnectButton(this);
}

void VornConfig::medAverage_Change() {
    medRate->setText(Global::NumberText(Global::CalcScanRate(
        Global::AverageOf(medAverage->text()), Global::LeadingSingle(medPeriod->text()))));
}

void VornConfig::medPeriod_Change() {
    medAverage_Change();
}

void VornConfig::medRate_Change() {
    const float rate = Global::LeadingSingle(medRate->text());
    if (optFixAvg->isChecked()) {
        medPeriod->setText(Global::NumberText(
            Global::CalcPeriodFromRate(Global::AverageOf(medAverage->text()), rate)));
    } else if (optFixPeriod->isChecked()) {
        medAverage->setText(QString::number(
            Global::CalcAverageFromRate(Global::LeadingSingle(medPeriod->text()), rate)));
    }
}

void VornConfig::sendFields() {
    SendSetting("PERIOD", medPeriod->text());
    SendSetting("AVG", medAverage->text());
    SendSetting("FPS", medFps->text());
    const QString unit = lstUnitScan->currentText().trimmed();
    SendSetting("UNITSCAN", unit);
    if (unit == QLatin1String("USER")) {
        SendSetting("CVTUNIT", medCvtUnits->text());
    }
    SendSetting("EU", chkEu);
    SendSetting("ZC", chkZc);
    SendSetting("QPKTS", chkQPkts);
    SendSetting("XSCANTRIG", chkXScanTrig);
    SendSetting("PMAXL", medPMaxL->text());
    SendSetting("PMAXH", medPMaxH->text());
    SendSetting("PMINL", medPMinL->text());
    SendSetting("PMINH", medPMinH->text());
    SendSetting("NEGPTSL", medNegPtsL->text());
    SendSetting("NEGPTSH", medNegPtsH->text());
}

bool VornConfig::warnAboutRate() {
    const float rate = Global::CalcScanRate(Global::AverageOf(medAverage->text()),
                                            Global::LeadingSingle(medPeriod->text()));
    if (FormInstance<LinkConfig>::instance().chkHSS->isChecked() || !(rate > LowSpeedRateLimit)) {
        return true;
    }
    // The box waits in a nested event loop, in which the program may unload this dialog.
    const QPointer<VornConfig> self(this);
    UserPrompts::MsgBox(QStringLiteral("WARNING: Scan rate is ") + Global::NumberText(rate) +
                        QStringLiteral(" Hz, limit is 25 Hz"));
    return !self.isNull();
}

void VornConfig::cmdApply_Click() {
    sendFields();
    if (!warnAboutRate()) {
        return;
    }
    Global::StepListSequence(QStringLiteral("SC"), true);
    Global::WriteCaptureConfig();
}

void VornConfig::cmdOk_Click() {
    sendFields();
    Global::StepListSequence(QStringLiteral("SC"), true);
    if (!warnAboutRate()) {
        return;
    }
    Global::EnableConnectButton(this);
    hide();
    Global::WriteCaptureConfig();
}

void VornConfig::cmdCancel_Click() {
    Global::StepListSequence(QString(), false);
    Form_Unload();
    // Unloaded from inside its own handler: forgotten now, destroyed once the handler returns.
    FormInstance<VornConfig>::unloadLater();
}

void VornConfig::reject() {
    cmdCancel_Click();
}

void VornConfig::SSTab2_Click(int tab) {
    if (tab == 1) {
        UserPrompts::MsgBox(QStringLiteral(
            "WARNING: Changes to any value on this page will require a full re-calibration"));
    }
}

#include "AlarmLimits.h"

#include "mainwindow/MDIMain.h"
#include "program/forms.h"
#include "program/userprompts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace BarGraph {

std::optional<float> LimitNumber(const QString& text) {
    bool ok = false;
    const float number = QLocale::c().toFloat(QStringView(text).trimmed(), &ok);
    if (!ok || !std::isfinite(number)) {
        return std::nullopt;
    }
    return number;
}

AlarmRow ReadAlarmRow(bool enabled, const QString& low, const QString& high) {
    const auto read = [](const QString& text) {
        return text.trimmed().isEmpty() ? std::optional<float>(0) : LimitNumber(text);
    };
    const std::optional<float> lowNumber = read(low);
    const std::optional<float> highNumber = read(high);
    if (!lowNumber || !highNumber) {
        return {{}, QStringLiteral("Low and High must be numbers")};
    }
    const bool bothTyped = !low.trimmed().isEmpty() && !high.trimmed().isEmpty();
    if (enabled && (!bothTyped || *lowNumber >= *highNumber)) {
        return {{}, QStringLiteral("Low must be below High")};
    }
    return {{enabled, *lowNumber, *highNumber}, {}};
}

} // namespace BarGraph

namespace {

// A row never set shows empty fields rather than limits of 0.
QString LimitText(const Global::AlarmRange& range, float limit) {
    return range == Global::AlarmRange{} ? QString() : Global::NumberText(limit);
}

} // namespace

// A child of the frame, so that it stays over the frame.
AlarmLimits::AlarmLimits() : FormDialog(&FormInstance<MDIMain>::instance()) {
    setObjectName(QStringLiteral("AlarmLimits"));
    setWindowTitle(QStringLiteral("Alarm Limits"));
    setWindowFlags(DialogWindowFlags);
    setModal(false);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Low")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("High")), 0, 2);
    for (int i = 0; i < Channels; ++i) {
        const QString channel = QStringLiteral("Channel ") + QString::number(i + 1);
        const Global::AlarmRange& range = Global::AlarmRanges[i];
        chkAlarm[i] = new QCheckBox(channel);
        chkAlarm[i]->setObjectName(QStringLiteral("chkAlarm") + QString::number(i));
        chkAlarm[i]->setChecked(range.enabled);
        txtLow[i] = new QLineEdit(LimitText(range, range.low));
        txtLow[i]->setObjectName(QStringLiteral("txtLow") + QString::number(i));
        txtLow[i]->setAccessibleName(channel + QStringLiteral(" Low"));
        txtHigh[i] = new QLineEdit(LimitText(range, range.high));
        txtHigh[i]->setObjectName(QStringLiteral("txtHigh") + QString::number(i));
        txtHigh[i]->setAccessibleName(channel + QStringLiteral(" High"));
        grid->addWidget(chkAlarm[i], i + 1, 0);
        grid->addWidget(txtLow[i], i + 1, 1);
        grid->addWidget(txtHigh[i], i + 1, 2);
    }
    cmdOk = Named(new QPushButton(QStringLiteral("OK")), "cmdOk");
    cmdCancel = Named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    // Applying limits changes nothing on the module: Enter may mean OK here.
    setDefaultButton(cmdOk);

    auto* buttons = new QDialogButtonBox;
    buttons->addButton(cmdOk, QDialogButtonBox::AcceptRole);
    buttons->addButton(cmdCancel, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Limits in the unit the bar graph shows")));
    layout->addLayout(grid);
    layout->addWidget(buttons);

    connect(cmdOk, &QPushButton::clicked, this, &AlarmLimits::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &AlarmLimits::cmdCancel_Click);
}

// Every row is checked before any is applied: the limits change all together or not at all.
void AlarmLimits::cmdOk_Click() {
    std::array<Global::AlarmRange, Channels> ranges;
    for (int i = 0; i < Channels; ++i) {
        const BarGraph::AlarmRow row =
            BarGraph::ReadAlarmRow(chkAlarm[i]->isChecked(), txtLow[i]->text(), txtHigh[i]->text());
        if (!row.problem.isEmpty()) {
            UserPrompts::MsgBox(chkAlarm[i]->text() + QStringLiteral(": ") + row.problem);
            txtLow[i]->setFocus();
            return;
        }
        ranges[static_cast<std::size_t>(i)] = row.range;
    }
    std::copy(ranges.cbegin(), ranges.cend(), std::begin(Global::AlarmRanges));
    FormInstance<AlarmLimits>::unloadLater();
}

void AlarmLimits::cmdCancel_Click() {
    FormInstance<AlarmLimits>::unloadLater();
}

void AlarmLimits::reject() {
    cmdCancel_Click();
}

#pragma once
// The dialog "Alarm Limits": for each channel an optional low and high limit in the unit the bar
// graph shows; a value below low or above high is warned of like one beyond full scale. Not
// modal; OK applies every row and unloads, Cancel (Escape, the close box) only unloads. Nothing
// here reaches the module.

#include "program/Global.h"
#include "program/formdialog.h"

#include <QString>
#include <array>
#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace BarGraph {

// A limit as typed: a finite single-precision number, spaces around it allowed.
std::optional<float> LimitNumber(const QString& text);

struct AlarmRow {
    Global::AlarmRange range;
    QString problem; // what is wrong with the row, for the operator; "" when it can be applied
};
// A row of the dialog: a field is empty or a number; a row that is on needs both, low below high.
// Empty fields read as 0.
AlarmRow ReadAlarmRow(bool enabled, const QString& low, const QString& high);

} // namespace BarGraph

class AlarmLimits : public FormDialog {
    Q_OBJECT

public:
    static constexpr int Channels = 16;

    AlarmLimits();

    std::array<QCheckBox*, Channels> chkAlarm{};
    std::array<QLineEdit*, Channels> txtLow{};
    std::array<QLineEdit*, Channels> txtHigh{};
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

public Q_SLOTS:
    void cmdOk_Click();
    void cmdCancel_Click();
    void reject() override;
};

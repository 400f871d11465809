#include "settingsstore.h"

#include "Global.h"
#include "bargraph/AlarmLimits.h"
#include "forms.h"
#include "mainwindow/LinkConfig.h"
#include "mainwindow/MDIMain.h"
#include "scanconfig/VornConfig.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QStringList>
#include <variant>
#include <vector>

namespace SettingsStore {

bool IsTrueText(const QString& text) {
    return text == QLatin1String("True");
}

QString BoolText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString DecimalFormat(int places) {
    return places <= 0 ? QStringLiteral("0")
                       : QStringLiteral("0.") + QString(places, QLatin1Char('0'));
}

QString DisplayFormatFor(const std::array<bool, 6>& placesChecked, bool engineeringUnits) {
    if (!engineeringUnits) {
        return DecimalFormat(0);
    }
    for (int places = 0; places < static_cast<int>(placesChecked.size()); ++places) {
        if (placesChecked[static_cast<std::size_t>(places)]) {
            return DecimalFormat(places);
        }
    }
    return DecimalFormat(2);
}

bool EngineeringUnitsChecked() {
    return FormInstance<VornConfig>::instance().chkEu->isChecked();
}

QString AlarmLimitKey(int channel) {
    return QStringLiteral("AlarmLimit") + QString::number(channel + 1);
}

QString AlarmRangeText(const Global::AlarmRange& range) {
    return BoolText(range.enabled) + QLatin1Char(' ') + Global::NumberText(range.low) +
           QLatin1Char(' ') + Global::NumberText(range.high);
}

Global::AlarmRange AlarmRangeFromText(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(' '));
    if (parts.size() != 3) {
        return {};
    }
    const BarGraph::AlarmRow row = BarGraph::ReadAlarmRow(IsTrueText(parts[0]), parts[1], parts[2]);
    return row.problem.isEmpty() ? row.range : Global::AlarmRange{};
}

} // namespace SettingsStore

namespace {

// Where a setting lives while the program runs.
using Home = std::variant<QRadioButton*, QCheckBox*, QAction*, QLineEdit*>;

struct StoredSetting {
    const char* key;
    const char* defaultText;
    Home home;
    // Kept out of the store while it has its default, so that a setting added later leaves the
    // stored settings of everyone who does not use it exactly as they were.
    bool storedOnlyWhenChanged = false;
};

// In the order in which the settings are read and written.
std::vector<StoredSetting> storedSettings() {
    LinkConfig& dialog = FormInstance<LinkConfig>::instance();
    MDIMain& frame = FormInstance<MDIMain>::instance();
    return {
        {"StatusPollAlways", "True", dialog.optStatusPollAlways},
        {"StatusPollOff", "False", dialog.optStatusPollOff},
        {"StatusPollInterval", "2", dialog.medStatusPollInterval},
        {"LogScanData", "True", dialog.chkScanData},
        {"LogListData", "False", dialog.chkListData},
        {"LogErrors", "False", dialog.chkErrors},
        {"LogStatusData", "False", dialog.chkStatusData},
        {"LogOutgoing", "False", dialog.chkOutgoing},
        {"UploadDwell", "300", dialog.medUploadDwell},
        {"Pressure", "True", frame.mnuBarGraphPress},
        {"Temperature", "False", frame.mnuBarGraphTemp},
        {"BarGraph0Places", "False", frame.mnuBarGraph0Places},
        {"BarGraph1Places", "False", frame.mnuBarGraph1Places},
        {"BarGraph2Places", "True", frame.mnuBarGraph2Places},
        {"BarGraph3Places", "False", frame.mnuBarGraph3Places},
        {"BarGraph4Places", "False", frame.mnuBarGraph4Places},
        {"BarGraph5Places", "False", frame.mnuBarGraph5Places},
        {"HssEnabled", "False", dialog.chkHSS},
        {"HssFileName", "", dialog.txtHssFileName},
        {"HssUdpPort", "23", dialog.txtHssUdpPort},
        {"AutoReconnect", "False", dialog.chkAutoReconnect, true},
    };
}

void setHome(const Home& home, const QString& text) {
    const bool on = SettingsStore::IsTrueText(text);
    std::visit(
        [&](auto* control) {
            using Control = std::remove_pointer_t<decltype(control)>;
            if constexpr (std::is_same_v<Control, QRadioButton>) {
                SetOptionButton(control, on);
            } else if constexpr (std::is_same_v<Control, QLineEdit>) {
                control->setText(text);
            } else {
                control->setChecked(on);
            }
        },
        home);
}

QString homeText(const Home& home) {
    return std::visit(
        [](auto* control) {
            if constexpr (std::is_same_v<std::remove_pointer_t<decltype(control)>, QLineEdit>) {
                return control->text();
            } else {
                return SettingsStore::BoolText(control->isChecked());
            }
        },
        home);
}

// An ini file edited by hand may hold an unquoted comma, which QSettings reads as a list.
QString storedText(const QSettings& store, const char* key, const char* defaultText) {
    const QVariant value = store.value(QLatin1String(key), QString::fromLatin1(defaultText));
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QStringLiteral(", "));
    }
    return value.toString();
}

} // namespace

namespace Global {

void LoadSettings() {
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, SettingsStore::Application);
    store.beginGroup(QLatin1String(SettingsStore::Group));
    for (const StoredSetting& setting : storedSettings()) {
        setHome(setting.home, storedText(store, setting.key, setting.defaultText));
    }
    for (int channel = 0; channel < AlarmLimits::Channels; ++channel) {
        const QByteArray key = SettingsStore::AlarmLimitKey(channel).toLatin1();
        AlarmRanges[channel] =
            SettingsStore::AlarmRangeFromText(storedText(store, key.constData(), ""));
    }
    DialogToSettings();
}

void SaveSettings() {
    // What is written is the applied state, not edits left unapplied in the open dialog.
    SettingsToDialog();
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, SettingsStore::Application);
    store.beginGroup(QLatin1String(SettingsStore::Group));
    for (const StoredSetting& setting : storedSettings()) {
        const QString text = homeText(setting.home);
        if (setting.storedOnlyWhenChanged && text == QLatin1String(setting.defaultText)) {
            store.remove(QLatin1String(setting.key));
        } else {
            store.setValue(QLatin1String(setting.key), text);
        }
    }
    for (int channel = 0; channel < AlarmLimits::Channels; ++channel) {
        const QString key = SettingsStore::AlarmLimitKey(channel);
        const AlarmRange& range = AlarmRanges[channel];
        if (range != AlarmRange{}) {
            store.setValue(key, SettingsStore::AlarmRangeText(range));
        } else {
            store.remove(key);
        }
    }
}

void DialogToSettings() {
    const LinkConfig& dialog = FormInstance<LinkConfig>::instance();
    StatusPollAlways = dialog.optStatusPollAlways->isChecked();
    StatusPollOff = dialog.optStatusPollOff->isChecked();
    StatusPollInterval = dialog.medStatusPollInterval->text();
    LogScanData = dialog.chkScanData->isChecked();
    LogListData = dialog.chkListData->isChecked();
    LogErrors = dialog.chkErrors->isChecked();
    LogStatusData = dialog.chkStatusData->isChecked();
    LogOutgoing = dialog.chkOutgoing->isChecked();
    UploadDwell = dialog.medUploadDwell->text();
    AutoReconnect = dialog.chkAutoReconnect->isChecked();
    UpdateDisplayFormat();
}

void SettingsToDialog() {
    LinkConfig& dialog = FormInstance<LinkConfig>::instance();
    SetOptionButton(dialog.optStatusPollAlways, StatusPollAlways);
    SetOptionButton(dialog.optStatusPollOff, StatusPollOff);
    dialog.medStatusPollInterval->setText(StatusPollInterval.trimmed());
    dialog.chkScanData->setChecked(LogScanData);
    dialog.chkListData->setChecked(LogListData);
    dialog.chkErrors->setChecked(LogErrors);
    dialog.chkStatusData->setChecked(LogStatusData);
    dialog.chkOutgoing->setChecked(LogOutgoing);
    dialog.medUploadDwell->setText(UploadDwell.trimmed());
    dialog.chkAutoReconnect->setChecked(AutoReconnect);
}

void UpdateDisplayFormat() {
    std::array<bool, 6> placesChecked{};
    const auto entries = FormInstance<MDIMain>::instance().decimalPlacesEntries();
    for (std::size_t places = 0; places < entries.size(); ++places) {
        placesChecked[places] = entries[places]->isChecked();
    }
    DisplayFormat =
        SettingsStore::DisplayFormatFor(placesChecked, SettingsStore::EngineeringUnitsChecked());
}

} // namespace Global

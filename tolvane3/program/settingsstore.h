#pragma once
// The per-user settings store: application "TolvaneXp", group "Startup", every value as text.
// The procedures themselves (LoadSettings, SaveSettings, DialogToSettings, SettingsToDialog,
// UpdateDisplayFormat) are declared in Global.h; these are the rules they share.

#include "Global.h"

#include <QString>
#include <array>

namespace SettingsStore {

inline constexpr auto Application = "TolvaneXp";
inline constexpr auto Group = "Startup";

// A stored boolean is true only when its text is exactly "True"; "true" reads as false.
bool IsTrueText(const QString& text);
QString BoolText(bool value);

// The number format for a count of decimal places: "0", "0.0", ... "0.00000".
QString DecimalFormat(int places);

// The bar graph's format from the decimal-places check marks (index = places; the first checked
// wins, none checked means two places). Without engineering units values show no decimals.
QString DisplayFormatFor(const std::array<bool, 6>& placesChecked, bool engineeringUnits);

// The scan-configuration dialog's engineering-units box "EU".
bool EngineeringUnitsChecked();

// A channel's alarm limits under "AlarmLimit1" to "AlarmLimit16", only while they are not the
// default (off, no limits): "True -5 12.5" is on, low and high. Any other text reads as off.
QString AlarmLimitKey(int channel);
QString AlarmRangeText(const Global::AlarmRange& range);
Global::AlarmRange AlarmRangeFromText(const QString& text);

} // namespace SettingsStore

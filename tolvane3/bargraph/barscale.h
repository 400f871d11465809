#pragma once
// The bar graph's scale: what full scale and units each display mode shows, the percent legend
// and the texts at either end of a channel's bar.

#include <QString>
#include <QStringView>
#include <optional>

namespace BarGraph {

enum class ScaleMode { TemperatureUnits, TemperatureRaw, PressureUnits, PressureRaw, None };

// The first that applies: temperatures with or without engineering units, pressures in engineering
// units, raw pressures without them; engineering units with neither entry checked is None.
ScaleMode ScaleModeFor(bool temperatureChecked, bool pressureChecked, bool engineeringUnits);

struct ChannelScale {
    float fullScale;
    QString text;
};

// A channel's full scale; nothing in mode None (the last one stays). In engineering units it is
// the conversion factor times the channel's maximum, 0 when that is beyond single precision.
std::optional<ChannelScale> ChannelScaleFor(ScaleMode mode, QStringView cvtUnit,
                                            QStringView channelMax);

QString UnitsTextFor(ScaleMode mode, const QString& unitScan);

// Legend label k of nine under the grid lines: "-100%" to "100%" in quarters.
QString LegendText(int k);

struct ScaleEndTexts {
    QString min;
    QString max;
};

// The full-scale text in the display format at the right end, with a minus at the left.
ScaleEndTexts ScaleEndTextsFor(const QString& fullScaleText, const QString& displayFormat);

} // namespace BarGraph

#include "barscale.h"

#include "program/Global.h"
#include "valuetext.h"

#include <array>
#include <cmath>
#include <limits>

namespace BarGraph {
namespace {

constexpr float RawCountsFullScale = 32767;
constexpr float DegreesFullScale = 70;

ChannelScale Fixed(float fullScale) {
    return {fullScale, Global::NumberText(fullScale)};
}

// The product of two module texts in single precision; 0 where it does not fit.
float ProductOf(QStringView cvtUnit, QStringView channelMax) {
    const double product = Global::LeadingNumber(cvtUnit) * Global::LeadingNumber(channelMax);
    if (!std::isfinite(product) || std::fabs(product) > std::numeric_limits<float>::max()) {
        return 0;
    }
    return static_cast<float>(product);
}

} // namespace

ScaleMode ScaleModeFor(bool temperatureChecked, bool pressureChecked, bool engineeringUnits) {
    if (temperatureChecked) {
        return engineeringUnits ? ScaleMode::TemperatureUnits : ScaleMode::TemperatureRaw;
    }
    if (!engineeringUnits) {
        return ScaleMode::PressureRaw;
    }
    return pressureChecked ? ScaleMode::PressureUnits : ScaleMode::None;
}

std::optional<ChannelScale> ChannelScaleFor(ScaleMode mode, QStringView cvtUnit,
                                            QStringView channelMax) {
    switch (mode) {
    case ScaleMode::TemperatureUnits:
        return Fixed(DegreesFullScale);
    case ScaleMode::TemperatureRaw:
    case ScaleMode::PressureRaw:
        return Fixed(RawCountsFullScale);
    case ScaleMode::PressureUnits:
        return Fixed(ProductOf(cvtUnit, channelMax));
    case ScaleMode::None:
        break;
    }
    return std::nullopt;
}

QString UnitsTextFor(ScaleMode mode, const QString& unitScan) {
    switch (mode) {
    case ScaleMode::TemperatureUnits:
        return QStringLiteral("Degrees C");
    case ScaleMode::TemperatureRaw:
        return QStringLiteral("Raw Temp Counts");
    case ScaleMode::PressureUnits:
        return unitScan;
    case ScaleMode::PressureRaw:
        return QStringLiteral("Raw Press Counts");
    case ScaleMode::None:
        break;
    }
    return {};
}

QString LegendText(int k) {
    static constexpr std::array<double, 9> Fractions{-1, -0.75, -0.5, -0.25, 0, 0.25, 0.5, 0.75, 1};
    const double fraction = Fractions.at(static_cast<std::size_t>(k));
    const QString percent = QString::number(std::fabs(fraction) * 100, 'f', 0);
    return (fraction < 0 ? QStringLiteral("-") : QString()) + percent + QLatin1Char('%');
}

ScaleEndTexts ScaleEndTextsFor(const QString& fullScaleText, const QString& displayFormat) {
    const QString max = ValueText(fullScaleText, displayFormat).trimmed();
    return {QLatin1Char('-') + max, max};
}

} // namespace BarGraph

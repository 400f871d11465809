#include "vornsim/textframe.h"

#include <cmath>

namespace vornsim {

PressureModel moduleReadings(const ModuleSettings& settings, quint32 seed, int channels,
                             bool zeroed) {
    std::vector<double> scales;
    for (int channel = 0; channel < channels; ++channel) {
        scales.push_back(settings.fullScale(channel % kLowSpeedChannels));
    }
    PressureModel readings(seed, std::move(scales));
    if (zeroed) {
        readings.removeOffsets();
    }
    return readings;
}

TextFrameFormat textFrameFormat(const ModuleSettings& settings, const SimConfig& config) {
    TextFrameFormat format;
    format.engineeringUnits = settings.number("EU") != 0.0;
    format.unitFactor = settings.number("CVTUNIT");
    format.options = config.textScan;
    return format;
}

QList<QByteArray> textFrameLines(const TextFrameFormat& format, const PressureModel& readings,
                                 quint32 frame) {
    QList<QByteArray> lines{"FRAME = " + QByteArray::number(frame)};
    const auto& fixed = format.options.fixedValues;
    for (int channel = 0; channel < kLowSpeedChannels; ++channel) {
        if (channel == format.options.omittedChannel) {
            continue;
        }
        QByteArray pressure;
        QByteArray temperature;
        if (fixed) {
            pressure = fixed->first;
            temperature = fixed->second;
        } else if (format.engineeringUnits) {
            pressure =
                QByteArray::number(readings.pressure(channel, frame) * format.unitFactor, 'f', 4);
            temperature = QByteArray::number(readings.temperature(channel, frame), 'f', 2);
        } else {
            // The readings never pass full scale, so the counts stay within 16 bits.
            pressure =
                QByteArray::number(std::lround(readings.pressure(channel, frame) /
                                               readings.fullScale(channel) * kFullScaleCounts));
            temperature = QByteArray::number(
                std::lround(readings.temperature(channel, frame) * kTemperatureCountsPerDegree));
        }
        lines.append(QByteArray::number(channel) + ' ' + pressure + ' ' + temperature);
    }
    return lines;
}

} // namespace vornsim

#include "trendcsv.h"

#include <array>
#include <charconv>

namespace TrendData {

// Fast, since a minute of a 1 kHz scan is a million values written while the window waits.
void AppendCsvValue(QByteArray& csv, float value) {
    std::array<char, 64> text; // the longest, the smallest subnormal in full, takes 48
    const auto written =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    csv.append(text.data(), written.ptr - text.data());
}

QString ChannelName(int channel) {
    return QStringLiteral("Ch ") + QString::number(channel + 1);
}

QByteArray CsvOf(const SampleRing& samples, double span, quint16 shown) {
    const auto isShown = [shown](int channel) { return (shown & (1u << channel)) != 0; };
    QByteArray csv = "Frame,Time";
    for (int channel = 0; channel < Channels; ++channel) {
        if (isShown(channel)) {
            csv += ',' + ChannelName(channel).toLatin1();
        }
    }
    csv += "\r\n";
    if (samples.empty()) {
        return csv;
    }
    for (std::size_t i = samples.firstFrom(samples.newest().time - span); i < samples.size(); ++i) {
        const Sample& sample = samples[i];
        csv += QByteArray::number(sample.frame) + ',' + QByteArray::number(sample.time, 'f', 3);
        for (int channel = 0; channel < Channels; ++channel) {
            if (!isShown(channel)) {
                continue;
            }
            csv += ',';
            if (sample.present & (1u << channel)) {
                AppendCsvValue(csv, sample.values[channel]);
            }
        }
        csv += "\r\n";
    }
    return csv;
}

} // namespace TrendData

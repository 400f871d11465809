#include "trendcsv.h"

#include "program/Global.h"

namespace TrendData {

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
                csv += Global::NumberText(sample.values[channel]).toLatin1();
            }
        }
        csv += "\r\n";
    }
    return csv;
}

} // namespace TrendData

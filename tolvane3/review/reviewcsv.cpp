#include "reviewcsv.h"

#include "trend/trendcsv.h"

#include <algorithm>
#include <cmath>

namespace ReviewData {

QByteArray CsvOf(const Recording& recording, const HorizontalAxis& axis, double from, double to,
                 const std::vector<bool>& shown) {
    const auto isShown = [&shown](int channel) {
        return static_cast<std::size_t>(channel) < shown.size() &&
               shown[static_cast<std::size_t>(channel)];
    };
    QByteArray csv = axis.seconds ? "Frame,Time" : "Frame";
    for (int channel = 0; channel < recording.channels; ++channel) {
        if (isShown(channel)) {
            csv += ',' + TrendData::ChannelName(channel).toLatin1();
        }
    }
    csv += "\r\n";
    const auto first = std::lower_bound(axis.x.begin(), axis.x.end(), from) - axis.x.begin();
    const auto end = std::upper_bound(axis.x.begin(), axis.x.end(), to) - axis.x.begin();
    for (auto i = static_cast<std::size_t>(first); i < static_cast<std::size_t>(end); ++i) {
        csv += QByteArray::number(recording.frames[i]);
        if (axis.seconds) {
            csv += ',' + QByteArray::number(axis.x[i], 'f', 6);
        }
        for (int channel = 0; channel < recording.channels; ++channel) {
            if (!isShown(channel)) {
                continue;
            }
            csv += ',';
            const float value = recording.value(i, channel);
            if (std::isfinite(value)) {
                TrendData::AppendCsvValue(csv, value);
            }
        }
        csv += "\r\n";
    }
    return csv;
}

} // namespace ReviewData

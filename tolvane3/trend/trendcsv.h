#pragma once
// The trend window's Save Data: what the picture shows as comma-separated text.

#include "trendring.h"

#include <QByteArray>
#include <QString>

namespace TrendData {

// The legend's and the header's name of a channel (0..15): "Ch 1" to "Ch 16".
QString ChannelName(int channel);

// The shortest text that reads back as the same value, never in exponent form.
void AppendCsvValue(QByteArray& csv, float value);

// A header row, then one row per sample of the span before the newest: frame number, time in
// seconds with three decimals, then the value of each shown channel (bit n: channel n) as the
// shortest decimal that reads back as it, empty where the frame lacked it. Rows end with CR LF.
QByteArray CsvOf(const SampleRing& samples, double span, quint16 shown);

} // namespace TrendData

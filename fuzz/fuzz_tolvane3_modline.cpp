// Any line of a sensor profile file, rewritten for every sensor position: ModLine must neither
// crash nor read past the line, and what it gives is "" or the line with only the sensor number
// changed (the text before and after the number kept), which is found again as that sensor.

#include "profiles/profilelines.h"

#include <QString>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString line =
        QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<SensorField> field = FindSensorField(line, Qt::CaseInsensitive);
    for (int sensor = 0; sensor < 16; ++sensor) {
        const QString sent = ModLine(line, sensor);
        if (sent.isEmpty()) {
            continue;
        }
        if (!field) {
            __builtin_trap(); // a line that is no profile line was sent
        }
        const QString number = QString::number(sensor);
        if (sent != line.first(field->start) + number + line.sliced(field->end)) {
            __builtin_trap();
        }
        const std::optional<SensorField> again = FindSensorField(sent, Qt::CaseInsensitive);
        if (!again || again->sensor != sensor) {
            __builtin_trap();
        }
    }
    return 0;
}

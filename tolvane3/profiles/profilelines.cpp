#include "profilelines.h"

namespace {

// Sensor numbers are 0 to 15: one or two digits.
constexpr qsizetype MaxSensorDigits = 2;

constexpr QLatin1StringView InsertKey("INSERT ");

// Keys whose sensor number follows at a fixed place: right after the key.
constexpr QLatin1StringView FixedKeys[] = {
    QLatin1StringView("SET TEMP "), QLatin1StringView("SET ABS"), QLatin1StringView("SET MIN"),
    QLatin1StringView("SET MAX"), QLatin1StringView("SET NEGPTS")};

// Where the sensor number starts, or -1 when the line has no key of a profile line.
qsizetype SensorStart(QStringView line, Qt::CaseSensitivity keyCase) {
    for (const QLatin1StringView key : FixedKeys) {
        if (line.startsWith(key, keyCase)) {
            return key.size();
        }
    }
    if (line.startsWith(InsertKey, keyCase)) {
        // The point number comes first; the sensor number after its blank.
        const qsizetype blank = line.indexOf(QLatin1Char(' '), InsertKey.size());
        return blank > InsertKey.size() ? blank + 1 : -1;
    }
    return -1;
}

} // namespace

std::optional<SensorField> FindSensorField(QStringView line, Qt::CaseSensitivity keyCase) {
    const qsizetype start = SensorStart(line, keyCase);
    if (start < 0) {
        return std::nullopt;
    }
    qsizetype end = start;
    int sensor = 0;
    while (end < line.size() && end - start < MaxSensorDigits && line[end] >= QLatin1Char('0') &&
           line[end] <= QLatin1Char('9')) {
        sensor = sensor * 10 + (line[end].unicode() - '0');
        ++end;
    }
    // The values follow after a blank; a line without them is cut short.
    if (end == start || end >= line.size() || line[end] != QLatin1Char(' ')) {
        return std::nullopt;
    }
    return SensorField{start, end, sensor};
}

QString ModLine(const QString& line, int sensor) {
    const std::optional<SensorField> field = FindSensorField(line, Qt::CaseInsensitive);
    if (!field) {
        return {};
    }
    return line.left(field->start) + QString::number(sensor) + line.mid(field->end);
}

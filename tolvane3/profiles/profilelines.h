#pragma once
// The lines of a sensor profile: a key, the sensor number and a blank before the values.
//   SET TEMP 3 25.0      the number after "SET TEMP "
//   SET ABS3 1           after "SET ABS", "SET MIN", "SET MAX" or "SET NEGPTS", with no blank
//   INSERT 5 3 1.0 2.0   the second argument; the first is the point number
// A key followed by no digit (SET NEGPTSH, the high bank's setting) is no profile line.

#include <QString>
#include <optional>

struct SensorField {
    qsizetype start; // index of the sensor number's first digit
    qsizetype end;   // index just past its last digit, where the blank stands
    int sensor;
};

// Where the line's sensor number stands; nothing when the line is no profile line. Keys are
// matched with the case sensitivity given.
std::optional<SensorField> FindSensorField(QStringView line, Qt::CaseSensitivity keyCase);

// The file line rewritten for the sensor index (0 to 15), keys matched without regard to case;
// "" for a line that is not sent (not a profile line, or one cut short).
QString ModLine(const QString& line, int sensor);

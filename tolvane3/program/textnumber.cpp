#include "Global.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace Global {

double LeadingNumber(QStringView text) {
    qsizetype pos = 0;
    while (pos < text.size() && (text[pos] == QLatin1Char(' ') || text[pos] == QLatin1Char('\t'))) {
        ++pos;
    }
    const qsizetype start = pos;
    if (pos < text.size() && (text[pos] == QLatin1Char('+') || text[pos] == QLatin1Char('-'))) {
        ++pos;
    }
    const auto skipDigits = [&] {
        const qsizetype from = pos;
        while (pos < text.size() && text[pos] >= QLatin1Char('0') &&
               text[pos] <= QLatin1Char('9')) {
            ++pos;
        }
        return pos - from;
    };
    qsizetype digits = skipDigits();
    if (pos < text.size() && text[pos] == QLatin1Char('.')) {
        ++pos;
        digits += skipDigits();
    }
    if (digits == 0) {
        return 0;
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(text.sliced(start, pos - start), &ok);
    return ok ? value : 0;
}

float LeadingSingle(QStringView text) {
    const double value = LeadingNumber(text);
    // Converting a double beyond the float range is undefined; say infinite instead.
    if (std::fabs(value) > std::numeric_limits<float>::max()) {
        return value < 0 ? -std::numeric_limits<float>::infinity()
                         : std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(value);
}

} // namespace Global

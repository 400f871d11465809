#include "valuetext.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace BarGraph {

QString ValueText(const QString& text, const QString& displayFormat) {
    bool numeric = false;
    const double value = QLocale::c().toDouble(QStringView(text).trimmed(), &numeric);
    if (!numeric || !std::isfinite(value)) {
        return text;
    }
    const qsizetype point = displayFormat.indexOf(QLatin1Char('.'));
    const int places = point < 0 ? 0 : static_cast<int>(displayFormat.size() - point - 1);
    QString shown = QString::number(value, 'f', places);
    // "-0.00" reads as a value below zero that is not there.
    const auto zeroDigit = [](QChar c) { return c == QLatin1Char('0') || c == QLatin1Char('.'); };
    if (shown.startsWith(QLatin1Char('-')) &&
        std::all_of(shown.cbegin() + 1, shown.cend(), zeroDigit)) {
        shown.remove(0, 1);
    }
    return shown;
}

} // namespace BarGraph

#include "program/Global.h"

#include <QLatin1Char>
#include <cmath>
#include <limits>

namespace Global {
namespace {

constexpr float Channels = 16.0f;
constexpr float MicrosecondsPerSecond = 1e6f;
constexpr float MinimumPeriod = 50.0f;

// Halves go to the even neighbour, whatever the floating-point environment's rounding mode.
double RoundHalfEven(double value) {
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0)) {
        return lower + 1.0;
    }
    return lower;
}

// A whole number that fits 16 bits, else 0 (never a wrapped value).
int Whole16(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    const double whole = RoundHalfEven(value);
    if (whole < std::numeric_limits<qint16>::min() || whole > std::numeric_limits<qint16>::max()) {
        return 0;
    }
    return static_cast<int>(whole);
}

float FiniteOrZero(float value) {
    return std::isfinite(value) ? value : 0.0f;
}

} // namespace

float FramePeriodOf(int average, float period) {
    // Written so that a NaN period fails the test too.
    if (average < 1 || !(period >= MinimumPeriod)) {
        return 0.0f;
    }
    // Divided rather than multiplied by 1e-6f, which is inexact: 2 x 500 gives exactly 0.016f.
    return FiniteOrZero(static_cast<float>(average) * period * Channels / MicrosecondsPerSecond);
}

float CalcScanRate(int average, float period) {
    const float framePeriod = FramePeriodOf(average, period);
    return framePeriod == 0.0f ? 0.0f : FiniteOrZero(1.0f / framePeriod);
}

float CalcPeriodFromRate(int average, float rate) {
    if (average < 1 || rate == 0.0f || !std::isfinite(rate)) {
        return 0.0f;
    }
    const float scanTime = static_cast<float>(average) * rate * Channels / MicrosecondsPerSecond;
    return scanTime == 0.0f ? 0.0f : FiniteOrZero(1.0f / scanTime);
}

int CalcAverageFromRate(float period, float rate) {
    if (!(period >= MinimumPeriod) || rate == 0.0f || !std::isfinite(rate)) {
        return 0;
    }
    const float scanTime = period * rate * Channels / MicrosecondsPerSecond;
    return scanTime == 0.0f ? 0 : Whole16(1.0f / scanTime);
}

int AverageOf(QStringView text) {
    return Whole16(LeadingNumber(text));
}

QString NumberText(float value) {
    if (!std::isfinite(value) || value == 0.0f) {
        return QStringLiteral("0");
    }
    // Seven significant digits from the exponent form, then written out without an exponent, so
    // that the text reads back as the same number wherever it is sent.
    const QString scientific = QString::number(static_cast<double>(std::fabs(value)), 'e', 6);
    const qsizetype e = scientific.indexOf(QLatin1Char('e'));
    QString digits = scientific.left(e);
    digits.remove(QLatin1Char('.'));
    const int exponent = scientific.mid(e + 1).toInt();
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0'))) {
        digits.chop(1);
    }
    QString text;
    if (exponent < 0) {
        text = QStringLiteral("0.") + QString(-exponent - 1, QLatin1Char('0')) + digits;
    } else if (exponent + 1 >= digits.size()) {
        text = digits + QString(exponent + 1 - digits.size(), QLatin1Char('0'));
    } else {
        text = digits.left(exponent + 1) + QLatin1Char('.') + digits.mid(exponent + 1);
    }
    return value < 0 ? QLatin1Char('-') + text : text;
}

} // namespace Global

#include "vornsim/pointtables.h"

#include "vornsim/modulesettings.h"
#include "vornsim/simconstants.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace vornsim {

namespace {

// A row or sensor number: decimal digits only (no sign, no blank), below `limit`.
std::optional<int> indexBelow(const QByteArray& text, int limit) {
    constexpr qsizetype kMaxDigits = 3;
    if (text.isEmpty() || text.size() > kMaxDigits ||
        !std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
        return std::nullopt;
    }
    const int value = text.toInt();
    return value < limit ? std::optional(value) : std::nullopt;
}

struct RowRange {
    int first;
    int last;
};

std::optional<RowRange> rowRange(const QByteArray& first, const QByteArray& last, int rows) {
    const auto from = indexBelow(first, rows);
    const auto to = indexBelow(last, rows);
    if (!from || !to || *from > *to) {
        return std::nullopt;
    }
    return RowRange{*from, *to};
}

// Values too large for a double count as 0 rather than spread infinities through a table.
double valueOf(const QByteArray& text) {
    const double value = text.toDouble();
    return std::isfinite(value) ? value : 0.0;
}

QByteArray formatValue(double value) {
    return QByteArray::number(std::isfinite(value) ? value : 0.0, 'f', 4);
}

} // namespace

QByteArray PointTables::insert(const QList<QByteArray>& args, int rows) {
    if (args.size() != 4) {
        return kInvalidCommandReply;
    }
    const auto row = indexBelow(args[0], rows);
    const auto sensor = indexBelow(args[1], kLowSpeedChannels);
    if (!row) {
        return kInvalidRowReply;
    }
    if (!sensor) {
        return kInvalidSensorReply;
    }
    if (!isDecimalNumber(args[2]) || !isDecimalNumber(args[3])) {
        return kInvalidValueReply;
    }
    master_[*sensor][*row] = Point{args[2], args[3]};
    return {};
}

QByteArray PointTables::remove(const QList<QByteArray>& args, int rows) {
    if (args.size() != 3) {
        return kInvalidCommandReply;
    }
    const auto range = rowRange(args[0], args[1], rows);
    const auto sensor = indexBelow(args[2], kLowSpeedChannels);
    if (!range) {
        return kInvalidRowReply;
    }
    if (!sensor) {
        return kInvalidSensorReply;
    }
    auto& table = master_[*sensor];
    std::fill(table.begin() + range->first, table.begin() + range->last + 1, std::nullopt);
    return {};
}

void PointTables::fill(int rows) {
    for (std::size_t sensor = 0; sensor < master_.size(); ++sensor) {
        const auto& points = master_[sensor];
        auto& full = full_[sensor];
        full.fill(std::nullopt);
        std::vector<int> known;
        for (int row = 0; row < rows; ++row) {
            if (points[row]) {
                known.push_back(row);
            }
        }
        if (known.empty()) {
            continue;
        }
        auto at = [&](int row, bool second) {
            return valueOf(second ? points[row]->second : points[row]->first);
        };
        for (int row = 0; row < rows; ++row) {
            // The master rows around this one (the same row twice before the first, after
            // the last, and on a master row itself).
            const auto next = std::lower_bound(known.begin(), known.end(), row);
            const int above = next == known.end() ? known.back() : *next;
            const int below = above == row || next == known.begin() ? above : *(next - 1);
            const double t = above == below ? 0.0 : double(row - below) / (above - below);
            auto value = [&](bool second) {
                return formatValue(at(below, second) + (at(above, second) - at(below, second)) * t);
            };
            full[row] = Point{value(false), value(true)};
        }
    }
}

QByteArray PointTables::list(bool full, const QList<QByteArray>& args, int rows,
                             QList<QByteArray>* lines) const {
    if (args.size() != 2 && args.size() != 3) {
        return kInvalidCommandReply;
    }
    const auto range = rowRange(args[0], args[1], rows);
    if (!range) {
        return kInvalidRowReply;
    }
    int firstSensor = 0;
    int lastSensor = kLowSpeedChannels - 1;
    if (args.size() == 3) {
        const auto sensor = indexBelow(args[2], kLowSpeedChannels);
        if (!sensor) {
            return kInvalidSensorReply;
        }
        firstSensor = lastSensor = *sensor;
    }
    *lines = tableLines(full ? full_ : master_, full ? kFullPointWord : kInsertWord, range->first,
                        range->last, firstSensor, lastSensor);
    return {};
}

QList<QByteArray> PointTables::savedLines() const {
    return tableLines(master_, kInsertWord, 0, kPointRows - 1, 0, kLowSpeedChannels - 1);
}

QList<QByteArray> PointTables::tableLines(const Table& table, const char* word, int firstRow,
                                          int lastRow, int firstSensor, int lastSensor) {
    QList<QByteArray> lines;
    for (int sensor = firstSensor; sensor <= lastSensor; ++sensor) {
        for (int row = firstRow; row <= lastRow; ++row) {
            if (const auto& point = table[sensor][row]) {
                lines.append(QByteArray(word) + ' ' + QByteArray::number(row) + ' ' +
                             QByteArray::number(sensor) + ' ' + point->first + ' ' + point->second);
            }
        }
    }
    return lines;
}

} // namespace vornsim

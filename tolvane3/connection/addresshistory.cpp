#include "addresshistory.h"

#include <QIODevice>
#include <optional>

namespace {

// An address is short; a longer line is cut here so that no file can make us hold it whole.
constexpr qint64 MaxLineBytes = 4096;

// One line without its CR LF (or LF), or nothing at the end of the file or on a read error.
std::optional<QByteArray> readLine(QIODevice& file) {
    if (file.atEnd()) {
        return std::nullopt;
    }
    QByteArray line = file.readLine(MaxLineBytes);
    if (line.isEmpty()) {
        return std::nullopt;
    }
    if (line.endsWith('\n')) {
        line.chop(1);
    } else {
        // Skip the rest of an overlong line.
        QByteArray rest;
        do {
            rest = file.readLine(MaxLineBytes);
        } while (!rest.isEmpty() && !rest.endsWith('\n'));
    }
    if (line.endsWith('\r')) {
        line.chop(1);
    }
    return line;
}

} // namespace

namespace AddressHistory {

void MoveToTop(Table& table, const QString& address) {
    if (table[0] == address) {
        return;
    }
    std::size_t last = UsedSlots - 1; // the slot that is overwritten by the shift
    for (std::size_t slot = 1; slot < UsedSlots; ++slot) {
        if (table[slot] == address) {
            last = slot;
            break;
        }
    }
    for (std::size_t slot = last; slot >= 1; --slot) {
        table[slot] = table[slot - 1];
    }
    table[0] = address;
}

QByteArray FileBytes(const Table& table) {
    QByteArray bytes;
    for (std::size_t slot = 0; slot < UsedSlots; ++slot) {
        // A line break inside an entry would shift every later slot on the next start.
        QString entry = table[slot];
        entry.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
        bytes += entry.toLatin1() + "\r\n";
    }
    return bytes;
}

bool ReadSlots(QIODevice& file, Table& table) {
    for (std::size_t slot = 0; slot < UsedSlots; ++slot) {
        const std::optional<QByteArray> line = readLine(file);
        if (!line) {
            return false;
        }
        table[slot] = QString::fromLatin1(*line);
    }
    return true;
}

} // namespace AddressHistory

#include "filelines.h"

#include <QIODevice>

std::optional<QString> NextFileLine(QIODevice& file) {
    if (file.atEnd()) {
        return std::nullopt;
    }
    QByteArray bytes = file.readLine();
    // A line read holds at least one byte; none before the end means the read failed.
    if (bytes.isEmpty()) {
        return std::nullopt;
    }
    if (bytes.endsWith('\n')) {
        bytes.chop(1);
        if (bytes.endsWith('\r')) {
            bytes.chop(1);
        }
    }
    return QString::fromLatin1(bytes);
}

#pragma once

#include <QByteArray>
#include <QList>

namespace vornsim {

// The refused commands a module keeps for its ERROR command, oldest first, kMaxErrors at
// most (the oldest makes way); CLEAR empties it.
class ErrorList {
public:
    // Keeps "refusal: command", the command cut short and its control and 8-bit bytes shown
    // as '?', so that an entry is one printable line whatever the client sent.
    void record(const QByteArray& refusal, const QByteArray& command);
    const QList<QByteArray>& lines() const { return lines_; }
    void clear() { lines_.clear(); }

private:
    QList<QByteArray> lines_;
};

} // namespace vornsim

#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>

namespace vornsim {

// Every byte of the command port in both directions, one record per read or write:
// a header line "RX n" or "TX n", then exactly those n bytes, then LF. Notes such as
// connections and disconnections are lines beginning "# ". Flushed per record so a reader
// (or a killed process) never loses what was already exchanged. Without a file it records
// nothing.
class Transcript {
public:
    bool open(const QString& path, QString* error);
    void received(QByteArrayView bytes) { record("RX", bytes); }
    void sent(QByteArrayView bytes) { record("TX", bytes); }
    void note(QByteArrayView text);

private:
    void record(const char* direction, QByteArrayView bytes);

    QFile file_;
};

} // namespace vornsim

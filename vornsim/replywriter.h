#pragma once

#include "vornsim/simconfig.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTimer>

class QTcpSocket;

namespace vornsim {

class Transcript;

// Cuts bytes at the given offsets (sorted or not; offsets outside the data are ignored).
QList<QByteArray> splitAt(const QByteArray& bytes, const QList<int>& positions);

// The garbage sent ahead of every reply: binary is one line of every byte value but CR and
// LF (NUL and 8-bit bytes included); long is a line of `length` bytes; noeol is `length` bytes
// with no line end at all.
QByteArray garbageBlock(GarbageKind kind, int length);

// Writes replies to the client, applying the configured faults: garbage ahead of each reply,
// a reply cut into separate writes `splitDelayMs` apart, the connection closed after N lines.
// Replies keep their order whatever the faults.
class ReplyWriter : public QObject {
    Q_OBJECT
public:
    ReplyWriter(QTcpSocket& socket, const FaultConfig& faults, Transcript& transcript,
                QObject* parent = nullptr);

    // One reply: each line is sent followed by CR LF.
    void send(const QList<QByteArray>& lines);
    // False while the client lags too far behind; producers of a flood wait for it.
    bool canTakeMore() const;

private:
    void writeNextPiece();

    QTcpSocket& socket_;
    const FaultConfig& faults_;
    Transcript& transcript_;
    QList<QByteArray> pending_;
    qint64 pendingBytes_ = 0;
    QTimer pieceTimer_;
    int linesSent_ = 0;
    bool closing_ = false;
};

} // namespace vornsim

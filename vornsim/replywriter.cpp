#include "vornsim/replywriter.h"

#include "vornsim/transcript.h"

#include <QTcpSocket>
#include <algorithm>

namespace vornsim {

QList<QByteArray> splitAt(const QByteArray& bytes, const QList<int>& positions) {
    QList<int> cuts = positions;
    std::sort(cuts.begin(), cuts.end());
    QList<QByteArray> pieces;
    qsizetype start = 0;
    for (int cut : cuts) {
        if (cut > start && cut < bytes.size()) {
            pieces.append(bytes.mid(start, cut - start));
            start = cut;
        }
    }
    pieces.append(bytes.mid(start));
    return pieces;
}

QByteArray garbageBlock(GarbageKind kind, int length) {
    QByteArray block;
    switch (kind) {
    case GarbageKind::None:
        break;
    case GarbageKind::Binary:
        for (int byte = 0; byte < 256; ++byte) {
            if (byte != '\r' && byte != '\n') {
                block.append(static_cast<char>(byte));
            }
        }
        block.append("\r\n");
        break;
    case GarbageKind::LongLine:
    case GarbageKind::NoLineEnd:
        block.resize(length);
        // Printable and 8-bit bytes, never CR or LF.
        for (int i = 0; i < length; ++i) {
            block[i] = static_cast<char>(0x20 + i % 0xe0);
        }
        if (kind == GarbageKind::LongLine) {
            block.append("\r\n");
        }
        break;
    }
    return block;
}

ReplyWriter::ReplyWriter(QTcpSocket& socket, const FaultConfig& faults, Transcript& transcript,
                         QObject* parent)
    : QObject(parent), socket_(socket), faults_(faults), transcript_(transcript) {
    pieceTimer_.setSingleShot(true);
    connect(&pieceTimer_, &QTimer::timeout, this, &ReplyWriter::writeNextPiece);
}

void ReplyWriter::send(const QList<QByteArray>& lines) {
    if (closing_ || lines.isEmpty()) {
        return;
    }
    QByteArray block = garbageBlock(faults_.garbage, faults_.garbageBytes);
    for (const QByteArray& line : lines) {
        block += line + "\r\n";
        ++linesSent_;
        if (faults_.closeAfterLines > 0 && linesSent_ >= faults_.closeAfterLines) {
            closing_ = true;
            break;
        }
    }
    for (const QByteArray& piece : splitAt(block, faults_.splitPositions)) {
        pending_.append(piece);
        pendingBytes_ += piece.size();
    }
    if (!pieceTimer_.isActive()) {
        writeNextPiece();
    }
}

bool ReplyWriter::canTakeMore() const {
    return socket_.bytesToWrite() + pendingBytes_ < kMaxPendingReplyBytes;
}

void ReplyWriter::writeNextPiece() {
    if (!pending_.isEmpty()) {
        const QByteArray piece = pending_.takeFirst();
        pendingBytes_ -= piece.size();
        transcript_.sent(piece);
        socket_.write(piece);
        socket_.flush();
    }
    if (!pending_.isEmpty()) {
        pieceTimer_.start(faults_.splitDelayMs);
    } else if (closing_) {
        // Pending bytes still go out: disconnectFromHost waits for them.
        socket_.disconnectFromHost();
    }
}

} // namespace vornsim

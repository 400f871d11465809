#pragma once
// Cuts the module's byte stream into lines ended by CR LF. The text after the last CR LF is kept
// and completed by the next chunk, so a line split across chunks arrives whole; a lone CR or LF
// stays inside its line. A line longer than MaxLineLength is dropped whole (also the part that
// arrives after the cut), so a module that never sends CR LF costs at most that much memory.

#include <QByteArray>
#include <QByteArrayView>
#include <QQueue>

class LineFramer {
public:
    static constexpr qsizetype MaxLineLength = 64 * 1024;

    // Appends a received chunk; every line it completes is queued for takeLine.
    void feed(QByteArrayView chunk);
    // Takes the oldest complete line, without its CR LF; false when none is queued. Lines fed
    // while an earlier one is being handled (a nested event loop) queue behind it, so order holds.
    bool takeLine(QByteArray& line);
    // Forgets the partial line and every queued line: the connection they came from is gone.
    void clear();

private:
    QByteArray partial_;
    qsizetype searchFrom_ = 0; // no CR LF starts before this offset of partial_
    bool droppingLongLine_ = false;
    QQueue<QByteArray> lines_;
};

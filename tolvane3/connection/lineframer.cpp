#include "lineframer.h"

#include <algorithm>

namespace {
constexpr QByteArrayView LineEnd("\r\n");
}

void LineFramer::feed(QByteArrayView chunk) {
    partial_.append(chunk);
    qsizetype lineStart = 0;
    for (qsizetype end = partial_.indexOf(LineEnd, searchFrom_); end >= 0;
         end = partial_.indexOf(LineEnd, lineStart)) {
        const qsizetype length = end - lineStart;
        if (!droppingLongLine_ && length <= MaxLineLength) {
            lines_.enqueue(partial_.mid(lineStart, length));
        }
        droppingLongLine_ = false;
        lineStart = end + LineEnd.size();
    }
    partial_.remove(0, lineStart);
    // A CR at the very end may be the first half of a CR LF completed by the next chunk.
    const bool mayEndInCr = partial_.endsWith('\r');
    if (partial_.size() - (mayEndInCr ? 1 : 0) > MaxLineLength) {
        droppingLongLine_ = true;
        partial_ = mayEndInCr ? QByteArray("\r") : QByteArray();
    }
    searchFrom_ = std::max<qsizetype>(0, partial_.size() - 1);
}

bool LineFramer::takeLine(QByteArray& line) {
    if (lines_.isEmpty()) {
        return false;
    }
    line = lines_.dequeue();
    return true;
}

void LineFramer::clear() {
    partial_.clear();
    searchFrom_ = 0;
    droppingLongLine_ = false;
    lines_.clear();
}

#include "vornsim/errorlist.h"

#include "vornsim/simconstants.h"

namespace vornsim {

void ErrorList::record(const QByteArray& refusal, const QByteArray& command) {
    constexpr qsizetype kMaxCommandShown = 64;
    QByteArray shown = command.left(kMaxCommandShown);
    for (char& byte : shown) {
        if (byte < ' ' || byte > '~') {
            byte = '?';
        }
    }
    if (lines_.size() >= kMaxErrors) {
        lines_.removeFirst();
    }
    lines_.append(refusal + ": " + shown);
}

} // namespace vornsim

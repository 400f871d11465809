#include "vornsim/commandframer.h"

#include "vornsim/simconstants.h"

namespace vornsim {

QList<QByteArray> CommandFramer::feed(const QByteArray& chunk) {
    QList<QByteArray> commands;
    for (const char byte : chunk) {
        const bool lfOfCrLf = byte == '\n' && afterCr_;
        afterCr_ = byte == '\r';
        if (lfOfCrLf) {
            continue;
        }
        if (byte == '\r' || byte == '\n') {
            commands.append(partial_);
            partial_.clear();
        } else if (partial_.size() < kMaxCommandBytes) {
            partial_.append(byte);
        }
    }
    return commands;
}

} // namespace vornsim

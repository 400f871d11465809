#pragma once

#include <QByteArray>
#include <QList>

namespace vornsim {

// Cuts the client's bytes into commands. A command ends at CR, at LF, or at CR LF (counted
// once, even when CR and LF arrive in separate chunks). A command longer than kMaxCommandBytes
// keeps its first kMaxCommandBytes bytes; the rest up to its end is dropped, so memory stays
// bounded whatever the client sends.
class CommandFramer {
public:
    QList<QByteArray> feed(const QByteArray& chunk);

private:
    QByteArray partial_;
    bool afterCr_ = false;
};

} // namespace vornsim

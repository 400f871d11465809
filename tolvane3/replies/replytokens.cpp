#include "replytokens.h"

#include <QStringTokenizer>

ReplyTokens::ReplyTokens(const QString& line) {
    for (const QStringView token : qTokenize(line, QLatin1Char(' '))) {
        if (tokens_.size() == Slots) {
            break;
        }
        tokens_.append(token.toString());
    }
}

QString ReplyTokens::operator[](int index) const {
    return index >= 0 && index < tokens_.size() ? tokens_[index] : QString();
}

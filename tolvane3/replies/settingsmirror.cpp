#include "settingsmirror.h"

#include "connection/Global.h"

#include <QStringList>

namespace Global {

void HandleSetLine(const ReplyTokens& tokens, const QString&) {
    // Each of these keys is the last line of one settings group: ask for the next group.
    static const QStringList groupEndKeys = {QStringLiteral("PAGE"), QStringLiteral("NEGPTSH"),
                                             QStringLiteral("MAX15"), QStringLiteral("HOST")};
    if (groupEndKeys.contains(tokens[1])) {
        StepListSequence(QString(), false);
    }
}

} // namespace Global

#include "settingsmirror.h"

#include "mainwindow/MDIMain.h"
#include "program/Global.h"
#include "program/forms.h"

#include <QStringList>

namespace Global {
namespace {

// The model decides the status-line form (30xx) and where full scales come from (xx07).
void MirrorModel(const QString& model) {
    FormInstance<MDIMain>::instance().setStatusPanel(
        1, QStringLiteral("Connected to ") + ConnectedAddress + QStringLiteral(" (Model ") +
               model.trimmed() + QLatin1Char(')'));
    Model30 = model.startsWith(QLatin1String("30"));
    Model07 = model.endsWith(QLatin1String("07"));
}

} // namespace

void HandleSetLine(const ReplyTokens& tokens, const QString&) {
    const QString key = tokens[1];
    if (key == QLatin1String("MODEL")) {
        MirrorModel(tokens[2]);
        return;
    }
    // Each of these keys is the last line of one settings group: ask for the next group.
    static const QStringList groupEndKeys = {QStringLiteral("PAGE"), QStringLiteral("NEGPTSH"),
                                             QStringLiteral("MAX15"), QStringLiteral("HOST")};
    if (groupEndKeys.contains(key)) {
        StepListSequence(QString(), false);
    }
}

} // namespace Global

#include "hostcheck.h"

#include "connection/Main.h"
#include "mainwindow/LinkConfig.h"
#include "program/Global.h"
#include "program/forms.h"

#include <QCheckBox>

namespace Global {

void CheckBinaryHost(const ReplyTokens& tokens) {
    LinkConfig& linkConfig = FormInstance<LinkConfig>::instance();
    QString address = QStringLiteral("0");
    QString port = QStringLiteral("0");
    QString protocol = QStringLiteral("T");
    if (linkConfig.chkHSS->isChecked()) {
        // High-speed frames come to this computer's side of the command connection, by UDP.
        address = FormInstance<Main>::instance().localAddressText().trimmed();
        if (address.isEmpty()) {
            return; // no connection, so no address the module could be told
        }
        port = QString::number(linkConfig.hssUdpPort());
        protocol = QStringLiteral("U");
    }
    if (tokens[2] != address || tokens[3] != port || tokens[4] != protocol) {
        SendVornCommand(QStringLiteral("SET HOST %1 %2 %3\r").arg(address, port, protocol));
        RebootPending = true;
    }
}

} // namespace Global

#include "Error.h"

#include "mainwindow/MDIMain.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/linebox.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

// A child of the frame, so that it stays over the frame.
Error::Error() : ActivatedDialog(&FormInstance<MDIMain>::instance()) {
    setObjectName(QStringLiteral("Error"));
    setWindowTitle(QStringLiteral("Vorn Errors"));
    setWindowFlags(DialogWindowFlags);
    setModal(false);

    // Each activation's answer goes below the earlier ones; the view stays where the user has it.
    txtError = Named(new LineBox, "txtError");
    txtError->setAccessibleName(QStringLiteral("Errors"));
    txtError->setMinimumSize(480, 240);
    cmdClear = Named(new QPushButton(QStringLiteral("Clear Errors")), "cmdClear");
    cmdClose = Named(new QPushButton(QStringLiteral("Close")), "cmdClose");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClear);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtError, 1);
    layout->addLayout(buttons);

    connect(cmdClear, &QPushButton::clicked, this, &Error::cmdClear_Click);
    connect(cmdClose, &QPushButton::clicked, this, &Error::cmdClose_Click);
}

void Error::Form_Activate() {
    Global::DisableConnectButton(this);
    Global::SendVornCommand(QStringLiteral("ERROR\r"));
}

void Error::cmdClear_Click() {
    Global::SendVornCommand(QStringLiteral("CLEAR\r"));
    txtError->clearLines();
    Global::SendVornCommand(QStringLiteral("ERROR\r"));
}

void Error::cmdClose_Click() {
    Global::EnableConnectButton(this);
    // Unloaded from inside its own handler: forgotten now, destroyed once the handler returns.
    FormInstance<Error>::unloadLater();
}

void Error::reject() {
    cmdClose_Click();
}

#include "About.h"

#include "MDIMain.h"
#include "program/forms.h"
#include "programinfo.h"

#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

// A child of the frame, so that it stays over the frame.
About::About() : FormDialog(&FormInstance<MDIMain>::instance()) {
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About ") + QLatin1String(ProgramInfo::Name));
    setWindowFlags(DialogWindowFlags);
    setAttribute(Qt::WA_DeleteOnClose);

    labAbout = Named(new QLabel(QLatin1String(ProgramInfo::Name) + QStringLiteral("\nVersion ") +
                                    QLatin1String(ProgramInfo::Version),
                                this),
                     "labAbout");
    labAbout->setFont(QFont(QStringLiteral("Arial"), 12));
    labAbout->setAlignment(Qt::AlignCenter);

    cmdOk = Named(new QPushButton(QStringLiteral("Close"), this), "cmdOk");
    setDefaultButton(cmdOk);
    connect(cmdOk, &QPushButton::clicked, this, &About::cmdOk_Click);

    setMinimumWidth(280);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(labAbout);
    layout->addWidget(cmdOk, 0, Qt::AlignHCenter);
}

void About::cmdOk_Click() {
    close();
}

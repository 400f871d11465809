#include "pointlists.h"

#include "mainwindow/MDIMain.h"
#include "program/Global.h"
#include "program/forms.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int Channels = 16;
constexpr int TemperatureRows = 70;

// Numbers from 0, nothing chosen, nothing typed: an untouched list gives an empty field.
QComboBox* NumberList(const char* objectName, int count) {
    auto* list = Named(new QComboBox, objectName);
    for (int number = 0; number < count; ++number) {
        list->addItem(QString::number(number));
    }
    list->setCurrentIndex(-1);
    return list;
}

} // namespace

// A child of the frame, so that it stays over the frame.
PointListDialog::PointListDialog(const char* objectName, const char* caption, const char* keyword)
    : FormDialog(&FormInstance<MDIMain>::instance()), keyword_(QLatin1String(keyword)) {
    setObjectName(QLatin1String(objectName));
    setWindowTitle(QLatin1String(caption));
    setWindowFlags(DialogWindowFlags);
    setModal(false);

    cmbChannel = NumberList("cmbChannel", Channels);
    Label1 = LabelFor(cmbChannel, "Label1", QStringLiteral("Channel:"));
    cmbStartTemp = NumberList("cmbStartTemp", TemperatureRows);
    Label2 = LabelFor(cmbStartTemp, "Label2", QStringLiteral("Starting Temp:"));
    cmbEndingTemp = NumberList("cmbEndingTemp", TemperatureRows);
    Label3 = LabelFor(cmbEndingTemp, "Label3", QStringLiteral("Ending Temp:"));
    cmdOk = Named(new QPushButton(QStringLiteral("OK")), "cmdOk");
    cmdCancel = Named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");

    auto* fields = new QFormLayout;
    fields->addRow(Label1, cmbChannel);
    fields->addRow(Label2, cmbStartTemp);
    fields->addRow(Label3, cmbEndingTemp);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(cmdOk, QDialogButtonBox::AcceptRole);
    buttons->addButton(cmdCancel, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);

    connect(cmdOk, &QPushButton::clicked, this, &PointListDialog::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &PointListDialog::cmdCancel_Click);
}

void PointListDialog::cmdOk_Click() {
    // Sent as chosen: the module answers a missing or reversed row with its own error.
    Global::SendVornCommand(keyword_ + cmbStartTemp->currentText().trimmed() + QLatin1Char(' ') +
                            cmbEndingTemp->currentText().trimmed() + QLatin1Char(' ') +
                            cmbChannel->currentText().trimmed() + QLatin1Char('\r'));
    unloadDialog();
}

void PointListDialog::cmdCancel_Click() {
    unloadDialog();
}

void PointListDialog::reject() {
    cmdCancel_Click();
}

MasterList::MasterList() : PointListDialog("MasterList", "List Master Points", "List M ") {}

void MasterList::unloadDialog() {
    FormInstance<MasterList>::unloadLater();
}

AllList::AllList() : PointListDialog("AllList", "List All Points", "List A ") {}

void AllList::unloadDialog() {
    FormInstance<AllList>::unloadLater();
}

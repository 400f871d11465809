#include "Main.h"
#include "bargraph/Bar.h"
#include "mainwindow/LinkConfig.h"
#include "mainwindow/MDIMain.h"
#include "profiles/CreateSPF.h"
#include "profiles/Upload.h"
#include "profiles/UploadSPF.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/timing.h"
#include "replies/scanframes.h"
#include "replies/scanlog.h"

#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <array>

namespace Global {
namespace {

enum class Switch : char { Keep, On, Off };
enum Column { DisconnectedColumn, ConnectedColumn, ScanningColumn, AfterScanColumn };
using Row = std::array<Switch, 4>;

constexpr Switch Keep = Switch::Keep;
constexpr Switch On = Switch::On;
constexpr Switch Off = Switch::Off;

struct MenuRow {
    QAction* MDIMain::*entry;
    Row states;
};
struct ButtonRow {
    int position;
    Row states;
};

// Columns: Disconnected, Connected, Scanning, After scan.
const MenuRow MenuStates[] = {
    {&MDIMain::mnuFile, {Keep, Keep, Off, On}},
    {&MDIMain::mnuUploadFileToVorn, {Off, On, Keep, On}},
    {&MDIMain::mnuTolvaneSettings, {On, Off, Keep, Keep}},
    {&MDIMain::mnuBarGraph, {Off, On, Off, On}},
    {&MDIMain::mnuVorn, {Off, On, On, On}},
    {&MDIMain::mnuStartScan, {Keep, Keep, Off, On}},
    {&MDIMain::mnuCalZero, {Keep, Keep, Off, On}},
    {&MDIMain::mnuConfigure, {Keep, Keep, Off, On}},
    {&MDIMain::mnuCommands, {Keep, Keep, Off, On}},
    {&MDIMain::mnuSaveSettings, {Keep, Keep, Off, On}},
    {&MDIMain::mnuErrors, {Keep, Keep, Off, On}},
    {&MDIMain::mnuSensor, {Off, On, Off, On}},
    {&MDIMain::mnuHelp, {Keep, Keep, Off, On}},
};

const ButtonRow ButtonStates[] = {
    {1, {Keep, Keep, Off, On}},  // OpenLogFile
    {2, {Keep, Keep, Off, On}},  // CloseLogFile
    {4, {Off, On, Off, On}},     // ConfigureVorn
    {5, {On, Off, Off, On}},     // ConfigureTolvane
    {7, {Off, On, On, On}},      // StartScan
    {8, {Off, On, On, On}},      // StopScan
    {10, {Off, On, Off, On}},    // CalZ
    {12, {Off, On, Off, On}},    // Commands
    {13, {Off, On, Off, On}},    // Errors
    {14, {Keep, Keep, Off, On}}, // Help
};

void Apply(QAction* item, Switch state) {
    if (item && state != Switch::Keep) {
        item->setEnabled(state == Switch::On);
    }
}

void ApplyColumn(Column column) {
    ScanRunning = column == ScanningColumn;
    MDIMain& frame = FormInstance<MDIMain>::instance();
    for (const MenuRow& row : MenuStates) {
        Apply(frame.*row.entry, row.states[column]);
    }
    for (const ButtonRow& row : ButtonStates) {
        Apply(frame.toolbarButton(row.position), row.states[column]);
    }
}

// The poll interval in milliseconds from the interval setting in seconds; 0 means no polling.
int PollIntervalMs() {
    constexpr double MaxSeconds = 24 * 60 * 60;
    const double seconds = std::clamp(LeadingNumber(StatusPollInterval), 0.0, MaxSeconds);
    return static_cast<int>(seconds * 1000);
}

} // namespace

void SetConnecting() {
    ConnState = Connecting;
    MDIMain& frame = FormInstance<MDIMain>::instance();
    frame.setStatusPanel(1, QStringLiteral("Connecting to ") + ConnectedAddress);
    frame.setStatusPanel(2, QStringLiteral("Getting Status"));
    Main& window = FormInstance<Main>::instance();
    window.lstIpHistory->setEnabled(false);
    window.Command1->setText(QStringLiteral("Cancel"));
}

void OnConnected() {
    InitUnits();
    ConnState = Connected;
    ApplyColumn(ConnectedColumn);
    AddToIpHistory(ConnectedAddress);
    Main& window = FormInstance<Main>::instance();
    window.Command1->setText(QStringLiteral("Disconnect"));
    const bool highSpeedScans = FormInstance<LinkConfig>::instance().chkHSS->isChecked();
    SendVornCommand(highSpeedScans ? QStringLiteral("SET BIN 1\r") : QStringLiteral("SET BIN 0\r"));
    SendVornCommand(QStringLiteral("SET FORMAT 0\r"));
    StepListSequence(QStringLiteral("ICHS"), true);
    window.tmrStatus->setInterval(Timing::scaled(PollIntervalMs()));
    if (StatusPollAlways) {
        window.startStatusPoll();
    } else {
        FormInstance<MDIMain>::instance().setStatusPanel(2, QStringLiteral("Status Off"));
    }
}

void SetDisconnected() {
    ApplyColumn(DisconnectedColumn);
    Main& window = FormInstance<Main>::instance();
    window.tmrStatus->stop();
    window.closeSocket();
    ConnState = Disconnected;
    EndListSequence();
    ShowNoConnection();
    window.lstIpHistory->setEnabled(true);
    window.Command1->setText(QStringLiteral("Connect"));
    // No more channel lines can come to finish an open row; later records go straight to the file.
    EndOpenLogRow();
    EndChannelWarnings();
    UpdateLogSidecar();
    // Listings and uploads cannot go on without the module.
    if (FormInstance<CreateSPF>::isLoaded()) {
        FormInstance<CreateSPF>::instance().connectionLost();
    }
    if (FormInstance<Upload>::isLoaded()) {
        FormInstance<Upload>::instance().connectionLost();
    }
    if (FormInstance<UploadSPF>::isLoaded()) {
        FormInstance<UploadSPF>::instance().connectionLost();
    }
}

void ShowNoConnection() {
    MDIMain& frame = FormInstance<MDIMain>::instance();
    frame.setStatusPanel(1, QStringLiteral("No connection"));
    frame.setStatusPanel(2, QString());
}

void SetScanning() {
    ApplyColumn(ScanningColumn);
    FormInstance<Bar>::instance().ResetLables();
    BeginChannelWarnings();
}

void RestoreAfterScan() {
    ApplyColumn(AfterScanColumn);
}

void ApplyStatusPollChoice() {
    Main& window = FormInstance<Main>::instance();
    MDIMain& frame = FormInstance<MDIMain>::instance();
    if (!StatusPollAlways) {
        window.tmrStatus->stop();
        frame.setStatusPanel(2, QStringLiteral("Status Off"));
    } else if (ConnState == Connected) {
        frame.setStatusPanel(2, QStringLiteral("Getting Status"));
        window.startStatusPoll();
    }
}

} // namespace Global

// The poll tick does not look at the connection state: a send without a connection does nothing.
void Main::tmrStatus_Timer() {
    Global::SendVornCommand(QStringLiteral("STATUS\r"));
}

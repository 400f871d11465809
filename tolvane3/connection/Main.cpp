#include "Main.h"

#include "autoreconnect.h"
#include "moduleaddress.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/timing.h"
#include "program/userprompts.h"

#include <QHBoxLayout>
#include <QHostAddress>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTcpSocket>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Bytes taken from the socket per data-arrival event: a flood then waits in the system's buffers
// (and slows the sender) instead of piling up in ours.
constexpr qint64 MaxChunkBytes = 256 * 1024;

QTimer* MakeTimer(QObject* parent, const char* name, int designedMs) {
    auto* timer = Named(new QTimer(parent), name);
    timer->setInterval(Timing::scaled(designedMs));
    return timer;
}

} // namespace

Main::Main() : lineHandler(Global::ProcessVornLine) {
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("Vorn Connection"));
    buildControls();

    tmrStatus = MakeTimer(this, "tmrStatus", 2000);
    tmrResponse = MakeTimer(this, "tmrResponse", 5000);
    tmrSleep = MakeTimer(this, "tmrSleep", 100);
    connect(tmrStatus, &QTimer::timeout, this, &Main::tmrStatus_Timer);
    connect(tmrResponse, &QTimer::timeout, this, &Main::tmrResponse_Timer);
    connect(tmrSleep, &QTimer::timeout, this, &Main::tmrSleep_Timer);

    Winsock1 = Named(new QTcpSocket(this), "Winsock1");
    Winsock1->setReadBufferSize(MaxChunkBytes);
    connect(Winsock1, &QTcpSocket::connected, this, &Main::Winsock1_Connect);
    connect(Winsock1, &QTcpSocket::readyRead, this, &Main::Winsock1_DataArrival);
    connect(Winsock1, &QTcpSocket::disconnected, this, &Main::Winsock1_Close);
    connect(Winsock1, &QTcpSocket::errorOccurred, this, &Main::Winsock1_Error);
    autoReconnector = Named(new AutoReconnector(this), "autoReconnector");
}

Main::~Main() {
    // Children outlive this destructor's body; the socket must not call back into a half-gone
    // window while it closes.
    const QSignalBlocker blocker(Winsock1);
    Winsock1->abort();
}

void Main::buildControls() {
    Label1 = Named(new QLabel(QStringLiteral("Open New Vorn Connection"), this), "Label1");
    Label3 = Named(
        new QLabel(QStringLiteral(
                       "To connect to a new VORN enter the VORN's IP address and press connect. "),
                   this),
        "Label3");
    txtIpAdd = Named(new QLineEdit(this), "txtIpAdd");
    Label2 = Named(new QLabel(QStringLiteral("Open Existing VORN Connection"), this), "Label2");
    Label4 = Named(new QLabel(QStringLiteral("To connect to an existing VORN select the VORN's IP "
                                             "address and press connect."),
                              this),
                   "Label4");
    lstIpHistory = Named(new QListWidget(this), "lstIpHistory");
    Command1 = Named(new QPushButton(QStringLiteral("Connect"), this), "Command1");

    QFont headingFont = Label1->font();
    headingFont.setBold(true);
    Label1->setFont(headingFont);
    Label2->setFont(headingFont);
    Label1->setBuddy(txtIpAdd);
    Label2->setBuddy(lstIpHistory);
    txtIpAdd->setAccessibleName(Label1->text());
    lstIpHistory->setAccessibleName(Label2->text());

    // The button acts on the address box, so it sits beside it; the history list takes the rest
    // of the window's height, the headings its width.
    // Wide enough for its longest caption, so that the address box keeps its width in every state.
    Command1->setMinimumWidth(QPushButton(QStringLiteral("Disconnect")).sizeHint().width());
    auto* addressRow = new QHBoxLayout;
    addressRow->addWidget(txtIpAdd, 1);
    addressRow->addWidget(Command1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label3);
    layout->addLayout(addressRow);
    layout->addSpacing(12);
    layout->addWidget(Label2);
    layout->addWidget(Label4);
    layout->addWidget(lstIpHistory, 1);

    connect(Command1, &QPushButton::clicked, this, &Main::Command1_Click);
    connect(lstIpHistory, &QListWidget::itemClicked, this, &Main::lstIpHistory_Click);
    connect(lstIpHistory, &QListWidget::itemActivated, this, &Main::lstIpHistory_Click);
}

// The size the frame gives the window when it first shows it: room for the whole history list.
// The instructions are not wrapped (wrapped labels get clipped in a small window), so they set
// the narrowest width.
QSize Main::sizeHint() const {
    return {520, 400};
}

void Main::Command1_Click() {
    autoReconnector->stop();
    if (Global::ConnState == Global::Disconnected) {
        Global::ConnectedAddress = txtIpAdd->text();
        Global::SetConnecting();
        connectSocket();
    } else {
        closeSocket();
        Global::SetDisconnected();
    }
}

void Main::lstIpHistory_Click(QListWidgetItem* item) {
    if (item) {
        txtIpAdd->setText(item->text());
    }
}

void Main::tmrSleep_Timer() {
    Global::PauseDone = true;
}

void Main::connectSocket() {
    closeSocket();
    const std::optional<ModuleAddress> address = ParseModuleAddress(Global::ConnectedAddress);
    if (!address) {
        reportSocketError(DescribeSocketError(QAbstractSocket::HostNotFoundError, {}));
        return;
    }
    Winsock1->connectToHost(address->host, address->port);
}

void Main::closeSocket() {
    const QSignalBlocker blocker(Winsock1);
    Winsock1->flush();
    Winsock1->abort();
    framer_.clear();
}

void Main::sendBytes(const QByteArray& bytes) {
    if (Winsock1->state() == QAbstractSocket::ConnectedState) {
        Winsock1->write(bytes);
    }
}

void Main::Winsock1_Connect() {
    autoReconnector->connected();
    Global::OnConnected();
}

void Main::startStatusPoll() {
    if (tmrStatus->interval() > 0) {
        tmrStatus->start();
    }
}

QString Main::localAddressText() const {
    const QHostAddress local = Winsock1->localAddress();
    bool mapped = false;
    const quint32 ipv4 = local.toIPv4Address(&mapped);
    return mapped ? QHostAddress(ipv4).toString() : local.toString();
}

void Main::Winsock1_DataArrival() {
    framer_.feed(Winsock1->readAll());
    // Qt does not signal new data again until this handler has returned. Lines are therefore
    // dispatched from a queued call, so that while one line's handling waits in a nested event
    // loop (a message box, Pause) the lines arriving meanwhile are still dispatched, in order.
    QMetaObject::invokeMethod(this, &Main::dispatchReceivedLines, Qt::QueuedConnection);
}

void Main::dispatchReceivedLines() {
    // A line may open a message box or Pause, whose event loop can unload this window.
    const QPointer<Main> self(this);
    QByteArray line;
    while (self && framer_.takeLine(line)) {
        lineHandler(QString::fromLatin1(line));
    }
}

void Main::Winsock1_Close() {
    // The module's last lines arrived before it closed; they are handled before the state goes.
    const QPointer<Main> self(this);
    dispatchReceivedLines();
    if (self) {
        const bool recover = autoReconnector->takesOver();
        Global::SetDisconnected();
        if (recover) {
            autoReconnector->retryAfterPause(QString());
        }
    }
}

void Main::Winsock1_Error(QAbstractSocket::SocketError error) {
    // The module closing the connection is the close event that follows, not an error.
    if (error == QAbstractSocket::RemoteHostClosedError) {
        return;
    }
    reportSocketError(DescribeSocketError(error, Winsock1->errorString()));
}

void Main::reportSocketError(const SocketErrorInfo& info) {
    // Recovering by itself, the program must not wait for someone to answer a box (nor stack one
    // per retry): the reason shows in the status bar during the countdown instead.
    if (autoReconnector->takesOver()) {
        Global::SetDisconnected();
        autoReconnector->retryAfterPause(info.description);
        return;
    }
    UserPrompts::MsgBox(SocketErrorMessage(info), QStringLiteral("ERROR:"));
    Global::SetDisconnected();
}

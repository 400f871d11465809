#pragma once
// The connection window: the address to connect to, the recent addresses, the Connect / Cancel /
// Disconnect button, the command socket and the module-wide timers. A child of the MDI frame.

#include "lineframer.h"
#include "socketerrors.h"

#include <QAbstractSocket>
#include <QWidget>
#include <functional>

class AutoReconnector;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTcpSocket;
class QTimer;

class Main : public QWidget {
    Q_OBJECT

public:
    Main();
    ~Main() override;

    QSize sizeHint() const override;

    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtIpAdd = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QListWidget* lstIpHistory = nullptr;
    QPushButton* Command1 = nullptr;

    // Intervals are set through Timing::scaled.
    QTimer* tmrStatus = nullptr;   // status polling, interval from the settings
    QTimer* tmrResponse = nullptr; // list sequence reply time-out, 5000 ms
    QTimer* tmrSleep = nullptr;    // ends a Pause

    QTcpSocket* Winsock1 = nullptr;
    AutoReconnector* autoReconnector = nullptr;

    // Connects to ConnectedAddress ("host", "host:port" or "[v6]:port"); the outcome arrives as a
    // socket event. An address that cannot be parsed fails at once like an unknown host.
    void connectSocket();
    // Closes the socket without raising its events and forgets partly received text. Bytes
    // already written are handed to the system first, so a last command still goes out.
    void closeSocket();
    // Sends the bytes when connected; otherwise does nothing.
    void sendBytes(const QByteArray& bytes);
    // Starts status polling with the interval tmrStatus has. An interval of 0 means no polling at
    // all (a Qt timer of 0 would fire on every idle moment), so the timer then stays stopped.
    void startStatusPoll();
    // This computer's address on the command connection, an IPv4-mapped one written as IPv4;
    // empty when there is none.
    QString localAddressText() const;

    // Where every received line goes: the reply dispatcher. Tests may put a probe here.
    std::function<void(const QString&)> lineHandler;

public Q_SLOTS:
    void Command1_Click();
    void lstIpHistory_Click(QListWidgetItem* item);
    void tmrStatus_Timer();
    void tmrResponse_Timer();
    void tmrSleep_Timer();
    void Winsock1_Connect();
    void Winsock1_DataArrival();
    void Winsock1_Close();
    void Winsock1_Error(QAbstractSocket::SocketError error);

private:
    void buildControls();
    // Hands every complete line received so far to lineHandler, in order.
    void dispatchReceivedLines();
    void reportSocketError(const SocketErrorInfo& info);

    LineFramer framer_;
};

#pragma once
// A module stand-in inside a test: a QTcpServer on 127.0.0.1 (port 0, so any free port) that
// records every byte it receives and sends whatever the test scripts. One client at a time; a
// new client replaces the old one. Waits give up after 5 s.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

class FakeModule : public QObject {
    Q_OBJECT
public:
    FakeModule();

    // "127.0.0.1:<port>", ready to type into the connection window.
    QString address() const { return "127.0.0.1:" + QString::number(port_); }
    // Stops accepting, so that a connection to address() is refused.
    void stopListening() { server_.close(); }
    // Listens on the same port again, like a module back from its reboot.
    bool listenAgain() { return server_.listen(QHostAddress::LocalHost, port_); }
    bool isConnected() const { return client_ && client_->state() == QTcpSocket::ConnectedState; }
    bool waitForDisconnection() {
        return QTest::qWaitFor([this] { return !isConnected(); });
    }

    // Every byte received, over all connections, in order.
    QByteArray received() const { return received_; }
    void clearReceived() { received_.clear(); }
    // Every complete command received (the text before each CR), in order.
    QList<QByteArray> commands() const;
    qsizetype commandCount(const QByteArray& command) const { return commands().count(command); }
    bool waitForBytes(qsizetype count) {
        return QTest::qWaitFor([&] { return received_.size() >= count; });
    }
    bool waitForCommandCount(const QByteArray& command, qsizetype count) {
        return QTest::qWaitFor([&] { return commandCount(command) >= count; });
    }

    // Plays a module with nothing more to report: each group asked for since the record was last
    // cleared ("List I", "List C", ...) is ended at once by its last line. False when one of them
    // is not asked for in time.
    bool answerLists(const char* letters);

    // Sends bytes as they are, in one write.
    void send(const QByteArray& bytes);
    // Sends line + CR LF.
    void sendLine(const QByteArray& line) { send(line + "\r\n"); }
    // Closes the client connection from the module's side.
    void dropConnection();

private:
    void acceptClient();

    QTcpServer server_;
    quint16 port_ = 0;
    QPointer<QTcpSocket> client_;
    QByteArray received_;
};

// The complete commands in received, each with its CR, less those starting with prefix (STATUS
// polls or list requests, which fall wherever their timers put them).
QByteArray CommandsWithout(const QByteArray& received, const QByteArray& prefix);

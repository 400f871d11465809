#pragma once
// A module stand-in inside a test: a QTcpServer on 127.0.0.1 (port 0, so any free port) that
// records every byte it receives and sends whatever the test scripts. One client at a time; a
// new client replaces the old one.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

class FakeModule : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultWaitMs = 5000;

    FakeModule();

    quint16 port() const { return server_.serverPort(); }
    // "127.0.0.1:<port>", ready to type into the connection window.
    QString address() const;
    // Stops accepting, so that a connection to address() is refused.
    void stopListening() { server_.close(); }

    bool isConnected() const;
    bool waitForDisconnection(int timeoutMs = DefaultWaitMs);

    // Every byte received, over all connections, in order.
    QByteArray received() const { return received_; }
    void clearReceived() { received_.clear(); }
    // Every complete command received (the text before each CR), in order.
    QList<QByteArray> commands() const;
    qsizetype commandCount(const QByteArray& command) const { return commands().count(command); }
    bool waitForBytes(qsizetype count, int timeoutMs = DefaultWaitMs);
    bool waitForCommandCount(const QByteArray& command, qsizetype count,
                             int timeoutMs = DefaultWaitMs);

    // Sends bytes as they are, in one write.
    void send(const QByteArray& bytes);
    // Sends line + CR LF.
    void sendLine(const QByteArray& line) { send(line + "\r\n"); }
    // Closes the client connection from the module's side.
    void dropConnection();

private:
    void acceptClient();

    QTcpServer server_;
    QPointer<QTcpSocket> client_;
    QByteArray received_;
};

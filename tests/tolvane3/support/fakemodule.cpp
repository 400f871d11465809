#include "fakemodule.h"

#include <QTest>

FakeModule::FakeModule() {
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, &FakeModule::acceptClient);
}

QString FakeModule::address() const {
    return QStringLiteral("127.0.0.1:") + QString::number(port());
}

bool FakeModule::isConnected() const {
    return client_ && client_->state() == QAbstractSocket::ConnectedState;
}

bool FakeModule::waitForConnection(int timeoutMs) {
    return QTest::qWaitFor([this] { return isConnected(); }, timeoutMs);
}

bool FakeModule::waitForDisconnection(int timeoutMs) {
    return QTest::qWaitFor([this] { return !isConnected(); }, timeoutMs);
}

QList<QByteArray> FakeModule::commands() const {
    QList<QByteArray> complete = received_.split('\r');
    complete.removeLast(); // the text after the last CR is not a complete command yet
    return complete;
}

bool FakeModule::waitForBytes(qsizetype count, int timeoutMs) {
    return QTest::qWaitFor([&] { return received_.size() >= count; }, timeoutMs);
}

bool FakeModule::waitForCommandCount(const QByteArray& command, qsizetype count, int timeoutMs) {
    return QTest::qWaitFor([&] { return commandCount(command) >= count; }, timeoutMs);
}

void FakeModule::send(const QByteArray& bytes) {
    if (isConnected()) {
        client_->write(bytes);
        client_->flush();
    }
}

void FakeModule::dropConnection() {
    if (client_) {
        client_->disconnectFromHost();
    }
}

void FakeModule::acceptClient() {
    while (QTcpSocket* next = server_.nextPendingConnection()) {
        if (client_) {
            client_->abort();
            client_->deleteLater();
        }
        client_ = next;
        answeredUpTo_ = received_.size();
        connect(next, &QTcpSocket::readyRead, this, [this, next] { readClient(next); });
        connect(next, &QTcpSocket::disconnected, next, &QObject::deleteLater);
    }
}

void FakeModule::readClient(QTcpSocket* socket) {
    received_.append(socket->readAll());
    for (qsizetype end = received_.indexOf('\r', answeredUpTo_); end >= 0;
         end = received_.indexOf('\r', answeredUpTo_)) {
        const QByteArray command = received_.mid(answeredUpTo_, end - answeredUpTo_);
        answeredUpTo_ = end + 1;
        if (const auto reply = replies_.constFind(command); reply != replies_.cend()) {
            send(*reply);
        }
    }
}

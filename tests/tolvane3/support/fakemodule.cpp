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
        connect(next, &QTcpSocket::readyRead, this,
                [this, next] { received_.append(next->readAll()); });
        connect(next, &QTcpSocket::disconnected, next, &QObject::deleteLater);
    }
}

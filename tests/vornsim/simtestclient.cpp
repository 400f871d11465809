#include "simtestclient.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr int kWaitMs = 5000;

} // namespace

SimUnderTest::SimUnderTest(vornsim::SimConfig config) {
    config.address = QHostAddress(QHostAddress::LocalHost);
    config.port = 0;
    server_ = std::make_unique<vornsim::ModuleServer>(std::move(config));
    QString error;
    EXPECT_TRUE(server_->start(&error)) << error.toStdString();
}

std::unique_ptr<QTcpSocket> SimUnderTest::connectClient() const {
    auto socket = std::make_unique<QTcpSocket>();
    socket->connectToHost(QHostAddress(QHostAddress::LocalHost), server_->port());
    EXPECT_TRUE(QTest::qWaitFor(
        [&socket] { return socket->state() == QAbstractSocket::ConnectedState; }, kWaitMs));
    return socket;
}

QByteArray readBytes(QTcpSocket& socket, qsizetype count) {
    QByteArray received;
    static_cast<void>(QTest::qWaitFor(
        [&] {
            received += socket.read(count - received.size());
            return received.size() >= count;
        },
        kWaitMs));
    return received;
}

QByteArray readUntil(QTcpSocket& socket, const std::function<bool(const QByteArray&)>& done) {
    QByteArray received;
    static_cast<void>(QTest::qWaitFor(
        [&] {
            received += socket.readAll();
            return done(received);
        },
        kWaitMs));
    return received;
}

QByteArray exchange(QTcpSocket& socket, const QByteArray& command, const QByteArray& expected) {
    socket.write(command);
    return readBytes(socket, expected.size());
}

#include "simtestclient.h"

#include <QTest>
#include <gtest/gtest.h>

SimUnderTest::SimUnderTest(const QString& options, const QStringList& more) {
    const QStringList listen{QStringLiteral("vornsim"), QStringLiteral("--listen"),
                             QStringLiteral("127.0.0.1:0")};
    const auto parsed =
        vornsim::parseArguments(listen + options.split(u' ', Qt::SkipEmptyParts) + more);
    EXPECT_TRUE(parsed.config) << parsed.message.toStdString();
    server_ = std::make_unique<vornsim::ModuleServer>(parsed.config.value_or(vornsim::SimConfig{}));
    QString error;
    EXPECT_TRUE(server_->start(&error)) << error.toStdString();
}

std::unique_ptr<QTcpSocket> SimUnderTest::connectClient() const {
    auto socket = std::make_unique<QTcpSocket>();
    // A refused attempt is made again: the port is closed while the module reboots.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            if (socket->state() == QAbstractSocket::UnconnectedState) {
                socket->connectToHost(QHostAddress(QHostAddress::LocalHost), server_->port());
            }
            return socket->state() == QAbstractSocket::ConnectedState;
        },
        kWaitMs))
        << "no connection to the simulator";
    return socket;
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

QByteArray readUntilEnd(QTcpSocket& socket, const QByteArray& command, const QByteArray& end) {
    socket.write(command);
    return readUntil(socket, [&](const QByteArray& bytes) { return bytes.endsWith(end); });
}

QByteArray exchange(QTcpSocket& socket, const QByteArray& command, const QByteArray& expected) {
    socket.write(command);
    return readUntil(socket,
                     [&](const QByteArray& bytes) { return bytes.size() >= expected.size(); });
}

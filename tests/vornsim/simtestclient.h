#pragma once
// An in-process simulator on 127.0.0.1, port 0, set up by command-line options, and clients that
// talk to it with exact bytes. Every wait ends when its condition holds or after kWaitMs.

#include "vornsim/moduleserver.h"

#include <QTcpSocket>
#include <functional>
#include <memory>

inline constexpr int kWaitMs = 10000;
inline const QByteArray kReady = "STATUS: READY\r\n";

class SimUnderTest {
public:
    explicit SimUnderTest(const QString& options = {}, const QStringList& more = {});
    // A connected client, once the port accepts (the test fails when it never does).
    std::unique_ptr<QTcpSocket> connectClient() const;
    quint16 port() const { return server_->port(); }

private:
    std::unique_ptr<vornsim::ModuleServer> server_;
};

// Everything received until `done` holds for it (or kWaitMs passed).
QByteArray readUntil(QTcpSocket& socket, const std::function<bool(const QByteArray&)>& done);
// Sends `command`; what arrives until it ends with `end`.
QByteArray readUntilEnd(QTcpSocket& socket, const QByteArray& command, const QByteArray& end);
// Sends `command`; what arrives until there are at least `expected.size()` bytes.
QByteArray exchange(QTcpSocket& socket, const QByteArray& command, const QByteArray& expected);

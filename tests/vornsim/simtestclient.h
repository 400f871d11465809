#pragma once

#include "vornsim/moduleserver.h"

#include <QByteArray>
#include <QTcpSocket>
#include <functional>
#include <memory>

// An in-process simulator on 127.0.0.1, port 0, and clients that talk to it with exact bytes.
class SimUnderTest {
public:
    explicit SimUnderTest(vornsim::SimConfig config = {});

    // A connected client socket (fails the test when the connection is not made).
    std::unique_ptr<QTcpSocket> connectClient() const;

private:
    std::unique_ptr<vornsim::ModuleServer> server_;
};

// Waits until `socket` has received at least `count` bytes (or 5 s passed) and returns
// exactly `count` bytes, or everything received when fewer arrived.
QByteArray readBytes(QTcpSocket& socket, qsizetype count);

// Reads until what was received satisfies `done` (or 5 s passed) and returns it.
QByteArray readUntil(QTcpSocket& socket, const std::function<bool(const QByteArray&)>& done);

// Sends `command` and returns the next `expected.size()` bytes received.
QByteArray exchange(QTcpSocket& socket, const QByteArray& command, const QByteArray& expected);

#include "fakemodule.h"

FakeModule::FakeModule() {
    server_.listen(QHostAddress::LocalHost, 0);
    port_ = server_.serverPort();
    connect(&server_, &QTcpServer::newConnection, this, &FakeModule::acceptClient);
}

QList<QByteArray> FakeModule::commands() const {
    QList<QByteArray> complete = received_.split('\r');
    complete.removeLast(); // the text after the last CR is not a complete command yet
    return complete;
}

bool FakeModule::answerLists(const char* letters) {
    for (const char* letter = letters; *letter != '\0'; ++letter) {
        if (!waitForCommandCount("List " + QByteArray(1, *letter), 1)) {
            return false;
        }
        // The last line of each group; the host line is what a module set for low-speed scans
        // reports.
        const char* const ends[] = {"SET PAGE 1", "SET NEGPTSH 0", "SET MAX15 0", "SET HOST 0 0 T"};
        sendLine(ends[QByteArray("ICHS").indexOf(*letter)]);
    }
    return true;
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

QByteArray CommandsWithout(const QByteArray& received, const QByteArray& prefix) {
    QList<QByteArray> commands = received.split('\r');
    commands.removeLast(); // the text after the last CR is not a complete command yet
    QByteArray kept;
    for (const QByteArray& command : commands) {
        if (!command.startsWith(prefix)) {
            kept += command + '\r';
        }
    }
    return kept;
}

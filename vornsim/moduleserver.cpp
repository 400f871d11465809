#include "vornsim/moduleserver.h"

#include "vornsim/session.h"

#include <QTcpSocket>

namespace vornsim {

ModuleServer::ModuleServer(SimConfig config, QObject* parent)
    : QObject(parent), config_(std::move(config)), settings_(config_.model) {
    connect(&server_, &QTcpServer::newConnection, this, &ModuleServer::acceptNext);
}

bool ModuleServer::start(QString* error) {
    if (!config_.transcriptPath.isEmpty() && !transcript_.open(config_.transcriptPath, error)) {
        return false;
    }
    if (!server_.listen(config_.address, config_.port)) {
        *error =
            QStringLiteral("Cannot listen on %1: %2")
                .arg(formatListenAddress(config_.address, config_.port), server_.errorString());
        return false;
    }
    return true;
}

void ModuleServer::acceptNext() {
    if (session_ != nullptr) {
        return;
    }
    QTcpSocket* socket = server_.nextPendingConnection();
    // A client that gave up while it waited is already gone: take the next one.
    while (socket != nullptr && socket->state() != QAbstractSocket::ConnectedState) {
        delete socket;
        socket = server_.nextPendingConnection();
    }
    if (socket == nullptr) {
        return;
    }
    // Stop taking connections from the kernel until this client has gone.
    server_.pauseAccepting();
    session_ = new Session(socket, settings_, config_, transcript_, this);
    connect(session_, &Session::finished, this, [this] {
        session_->deleteLater();
        session_ = nullptr;
        server_.resumeAccepting();
        acceptNext();
    });
}

} // namespace vornsim

#include "vornsim/moduleserver.h"

#include "vornsim/session.h"
#include "vornsim/statefile.h"

#include <QFileInfo>
#include <QTcpSocket>
#include <cstdio>

namespace vornsim {

ModuleServer::ModuleServer(SimConfig config, QObject* parent)
    : QObject(parent), config_(std::move(config)), state_(config_.model), saved_(config_.model) {
    connect(&server_, &QTcpServer::newConnection, this, &ModuleServer::acceptNext);
    rebootTimer_.setSingleShot(true);
    connect(&rebootTimer_, &QTimer::timeout, this, &ModuleServer::listenAgain);
}

bool ModuleServer::start(QString* error) {
    if (!config_.transcriptPath.isEmpty() && !transcript_.open(config_.transcriptPath, error)) {
        return false;
    }
    const QString stateError = readStateFile(config_.statePath, state_);
    if (!stateError.isEmpty()) {
        *error = stateError;
        return false;
    }
    for (const auto& [key, value] : config_.presets) {
        state_.settings.set(key, value); // checked when the options were read
    }
    // A module fills its point tables again from the saved points as it starts.
    state_.points.fill(state_.settings.pointRows());
    saved_ = state_;
    if (!server_.listen(config_.address, config_.port)) {
        *error =
            QStringLiteral("Cannot listen on %1: %2")
                .arg(formatListenAddress(config_.address, config_.port), server_.errorString());
        return false;
    }
    address_ = server_.serverAddress();
    port_ = server_.serverPort();
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
    session_ = new Session(socket, state_, config_, transcript_, this);
    connect(session_, &Session::saveRequested, this, &ModuleServer::save);
    connect(session_, &Session::rebootRequested, this, &ModuleServer::reboot);
    connect(session_, &Session::finished, this, [this] {
        session_->deleteLater();
        session_ = nullptr;
        // While rebooting the port is closed; listenAgain takes the next client.
        if (server_.isListening()) {
            server_.resumeAccepting();
            acceptNext();
        }
    });
}

void ModuleServer::save() {
    saved_.settings = state_.settings;
    saved_.points = state_.points;
    if (config_.statePath.isEmpty()) {
        return;
    }
    // A flood of SAVEs must not become a flood of file writes.
    const QList<QByteArray> lines = stateFileLines(saved_);
    if (lines == written_ && QFileInfo::exists(config_.statePath)) {
        return;
    }
    // The module answers nothing to SAVE; the operator of the simulator hears of the failure.
    const QString error = writeStateFile(config_.statePath, saved_);
    written_ = error.isEmpty() ? lines : QList<QByteArray>();
    if (!error.isEmpty()) {
        std::fprintf(stderr, "vornsim: %s\n", qPrintable(error));
        transcript_.note("save failed");
    }
}

void ModuleServer::reboot() {
    // Clients waiting in the listen queue are refused with it, as by a module that restarts.
    server_.close();
    state_ = saved_;
    state_.points.fill(state_.settings.pointRows());
    transcript_.note("rebooting");
    rebootTimer_.start(config_.rebootMs);
}

void ModuleServer::listenAgain() {
    if (!server_.listen(address_, port_)) {
        // Someone took the port meanwhile: try again rather than give up being a module.
        constexpr int kRetryMs = 1000;
        std::fprintf(stderr, "vornsim: Cannot listen on %s again: %s\n",
                     qPrintable(formatListenAddress(address_, port_)),
                     qPrintable(server_.errorString()));
        rebootTimer_.start(kRetryMs);
        return;
    }
    transcript_.note("listening again");
    acceptNext();
}

} // namespace vornsim

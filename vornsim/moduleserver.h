#pragma once

#include "vornsim/modulesettings.h"
#include "vornsim/simconfig.h"
#include "vornsim/transcript.h"

#include <QObject>
#include <QTcpServer>

namespace vornsim {

class Session;

// The simulated module: listens on the command port and serves one client at a time. Further
// clients wait in the listen queue and are taken, in order, once the current one disconnects.
class ModuleServer : public QObject {
    Q_OBJECT
public:
    explicit ModuleServer(SimConfig config, QObject* parent = nullptr);

    // Opens the transcript and starts listening; false with *error set when either fails.
    bool start(QString* error);
    QHostAddress address() const { return server_.serverAddress(); }
    quint16 port() const { return server_.serverPort(); }

private:
    void acceptNext();

    SimConfig config_;
    ModuleSettings settings_;
    Transcript transcript_;
    QTcpServer server_;
    Session* session_ = nullptr;
};

} // namespace vornsim

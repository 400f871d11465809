#pragma once

#include "vornsim/modulestate.h"
#include "vornsim/simconfig.h"
#include "vornsim/transcript.h"

#include <QObject>
#include <QTcpServer>
#include <QTimer>

namespace vornsim {

class Session;

// The simulated module: listens on the command port and serves one client at a time. Further
// clients wait in the listen queue and are taken, in order, once the current one disconnects.
// SAVE keeps the settings (and writes the state file); a reboot closes the port for a while and
// comes back on the same port with the saved settings.
class ModuleServer : public QObject {
    Q_OBJECT
public:
    explicit ModuleServer(SimConfig config, QObject* parent = nullptr);

    // Opens the transcript, reads the state file, applies the presets and starts listening;
    // false with *error set when any of these fails.
    bool start(QString* error);
    // Where it listens, also while a reboot has the port closed.
    QHostAddress address() const { return address_; }
    quint16 port() const { return port_; }

private:
    void acceptNext();
    void save();
    void reboot();
    void listenAgain();

    SimConfig config_;
    ModuleState state_;
    ModuleState saved_;         // what SAVE keeps; the rest of it stays as a reboot leaves it
    QList<QByteArray> written_; // what the state file holds, as far as this process wrote it
    QHostAddress address_;
    quint16 port_ = 0;
    QTimer rebootTimer_;
    Transcript transcript_;
    QTcpServer server_;
    Session* session_ = nullptr;
};

} // namespace vornsim

#pragma once

#include "vornsim/commandframer.h"
#include "vornsim/modulestate.h"
#include "vornsim/pressuremodel.h"
#include "vornsim/replywriter.h"
#include "vornsim/simconfig.h"
#include "vornsim/textframe.h"

#include <QHostAddress>
#include <QObject>
#include <QUdpSocket>
#include <memory>

class QTcpSocket;

namespace vornsim {

class ScanRun;
class Transcript;

// One client on the command port: reads its commands, runs them through the command table and
// owns the scan it started. The settings belong to the module and outlive the session.
class Session : public QObject {
    Q_OBJECT
public:
    Session(QTcpSocket* socket, ModuleState& state, const SimConfig& config, Transcript& transcript,
            QObject* parent = nullptr);
    ~Session() override;

    // Services for the command table.
    void reply(const QList<QByteArray>& lines) { writer_.send(lines); }
    ModuleState& state() { return state_; }
    ModuleSettings& settings() { return state_.settings; }
    const SimConfig& config() const { return config_; }
    bool scanning() const { return scan_ != nullptr; }
    // Starts a scan from the current settings; empty on success, else the reply to send.
    QByteArray startScan();
    void stopScan();
    // Ends the scan and the connection; commands after it are not run.
    void reboot();
    // CALZ: readings move around zero from now on, a running scan's included.
    void zero();

Q_SIGNALS:
    // The client has gone; the session may be deleted.
    void finished();
    void saveRequested();
    // Before the connection is closed.
    void rebootRequested();

private:
    void greet();
    void readCommands();
    bool sendTextFrame(quint32 frameNumber);
    bool sendDatagram(quint32 frameNumber);

    QTcpSocket* socket_;
    ModuleState& state_;
    const SimConfig& config_;
    Transcript& transcript_;
    ReplyWriter writer_;
    CommandFramer framer_;
    std::unique_ptr<PressureModel> model_;
    TextFrameFormat textFormat_;
    ScanRun* scan_ = nullptr;
    QUdpSocket udp_;
    QHostAddress binaryHost_;
    quint16 binaryPort_ = 0;
    int sendFailures_ = 0;
    bool readingCommands_ = false;
    bool closing_ = false;
};

} // namespace vornsim

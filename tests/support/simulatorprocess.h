#pragma once
// vornsim as a real process for tests: started on 127.0.0.1 port 0, its one output line read for
// the port, killed when the object goes if the test did not stop it.

#include <QProcess>
#include <QString>
#include <QStringList>

class SimulatorProcess {
public:
    static constexpr int WaitMs = 10000;

    ~SimulatorProcess(); // QProcess makes it uncopyable

    static QString programPath();
    // Starts vornsim with --listen 127.0.0.1:0, each preset ("KEY=VALUE") as a --set, and the
    // options; the port once it listens, 0 when it did not start or printed anything else.
    quint16 start(const QStringList& presets = {}, QStringList options = {});
    // "127.0.0.1:<port>", ready to type into the connection window or a configuration file.
    QString address() const;
    // Sends the signal and waits for the process to end; true when it exited 0 by itself.
    bool stopWith(int signalNumber);

    QProcess& process() { return process_; }

    // The bytes the simulator received, in order, read back from its --transcript file.
    static QByteArray receivedInTranscript(const QString& transcriptPath);

private:
    QProcess process_;
    quint16 port_ = 0;
};

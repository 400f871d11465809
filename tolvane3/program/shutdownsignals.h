#pragma once
// Turns SIGINT and SIGTERM into a call on the GUI thread, so that they run the normal shut-down
// sequence: the signal handler only writes one byte to a socket pair, which a notifier reads in
// the event loop. Where these signals do not exist (Windows) nothing is installed.

#include <QObject>
#include <functional>

class ShutdownSignals : public QObject {
    Q_OBJECT

public:
    explicit ShutdownSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~ShutdownSignals() override;

private:
    std::function<void()> onSignal_;
};

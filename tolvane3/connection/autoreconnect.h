#pragma once
// Reconnecting by itself (the link setting "Reconnect automatically"): after a connection ends
// without the operator's Disconnect, or after a reboot's countdown, the program connects to the
// last address again after growing pauses, counted down in panel 1, until a connection succeeds
// or the operator takes over. A child of the connection window.

#include <QObject>
#include <QString>

class QTimer;

class AutoReconnector : public QObject {
    Q_OBJECT

public:
    explicit AutoReconnector(QObject* parent);

    // The pause before retry number `retry` (0 first) since the last connection: 1, 2, 4, 8,
    // 16, then 30 s for every further one.
    static int PauseSeconds(int retry);

    // Whether the end of the current connection or attempt is ours to recover from: the option
    // is on, no reboot runs (it starts the retries itself when its countdown ends) and the
    // connection was up or the attempt was the program's own (connectAgain). A failed connect
    // the operator started is theirs to see.
    bool takesOver() const;
    // Counts down the next pause, then connects. The reason of a failure shows in panel 2, where
    // the operator finds it instead of a message box.
    void retryAfterPause(const QString& reason);
    // The module is back from its reboot (when the option is on): the first pause, then connect.
    void retryAfterReboot();
    // Connects to the last address now as the program's own attempt (a retry, or the return
    // from a high-speed scan): with the option on, its failure is retried, not put in a box.
    void connectAgain();
    // A connection succeeded: the next loss starts again with the shortest pause.
    void connected();
    // The operator's Connect, Cancel or Disconnect, or the option turned off.
    void stop();

    QTimer* tmrCountdown = nullptr; // one tick a second through Timing::scaled

public Q_SLOTS:
    void tmrCountdown_Timer();

private:
    void startCountdown();
    void showCountdown();

    int retry_ = 0;
    int secondsLeft_ = 0;
    bool attemptIsOurs_ = false;
};

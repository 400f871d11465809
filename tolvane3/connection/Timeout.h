#pragma once
// The "Reboot Progress" window: counts the module's 35-second reboot in seconds and closes
// itself on the 36th tick. Not modal: the program goes on handling events meanwhile.

#include <QDialog>

class QProgressBar;
class QTimer;

class Timeout : public QDialog {
    Q_OBJECT

public:
    Timeout();

    static constexpr int RebootSeconds = 35;

    QProgressBar* ProgressBar1 = nullptr;
    QTimer* Timer1 = nullptr;

public Q_SLOTS:
    void Timer1_Timer();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void unloadWindow();
};

#pragma once
// "Upload": sends a command file to the module line by line, one line per dwell (the UploadDwell
// setting, in ms), and shows every line sent. File > Upload File To VORN chooses and opens the
// file and hands it over; the window only paces and sends. The Connect button stays disabled
// while the window is open.

#include "program/activation.h"

#include <QFile>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

class Upload : public ActivatedDialog {
    Q_OBJECT

public:
    Upload();

    QLabel* Label1 = nullptr;
    QLabel* labUploadFileName = nullptr; // the file's name, later the outcome
    QPlainTextEdit* txtUploadData = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdClose = nullptr;
    QTimer* TimerUpload = nullptr;

    // Shows the window and starts sending the open file; called once per opening.
    void start(std::unique_ptr<QFile> file);
    // The connection went: a running upload stops and says so.
    void connectionLost();

public Q_SLOTS:
    void TimerUpload_Timer();
    void cmdCancel_Click();
    void cmdClose_Click();
    // Escape and the close box: Close's path, once Close is enabled.
    void reject() override;

private:
    // While the file is being sent, Close is disabled: Cancel stops it first.
    bool busy() const override;
    void Form_Activate() override;
    // Stops sending and lets the window be closed, saying why.
    void stopSending(const QString& outcome);

    std::unique_ptr<QFile> file_; // open while the upload is in progress
};

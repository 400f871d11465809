#pragma once
// "Upload SPF": loads a sensor profile file into any sensor position. Start clears the sensor's
// point table, sends the file's profile lines one per tick with the chosen sensor number, asks
// the module to fill the table, and then offers Save to keep it in the module.

#include "sensorprofiledialog.h"

class QTimer;

class UploadSPF : public SensorProfileDialog {
    Q_OBJECT

public:
    static constexpr ProfileFileUse FileUse{"Upload SPF", UserPrompts::FileDialogMode::Open,
                                            QIODevice::ReadOnly, "Uploading ", "Error opening "};

    UploadSPF();

    QPushButton* btnSave = nullptr;
    QTimer* tmrUpload = nullptr; // one file line per tick, 500 ms

    // Every line from the module while the window is shown; does nothing unless running.
    void HandleLineFromVorn(const QString& sData);
    // The connection went: a running upload stops and says so.
    void connectionLost();

public Q_SLOTS:
    void btnStart_Click();
    void btnSave_Click();
    void tmrUpload_Timer();

private:
    void Form_Unload() override;
    void unloadLater() override;
    void sendFill();

    // 1: waiting for the table to be cleared, 2: sending the file, 3: file sent,
    // 4: waiting for the table to be filled.
    int step_ = 0;
    int readyCount_ = -1; // READY lines still expected; -1 while none are counted
};

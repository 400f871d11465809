#pragma once
// "Create SPF": lists the module's sensor tables one after another and writes the lines of the
// chosen sensor position to a sensor profile file, exactly as the module sent them, each ended
// by CR LF. The file is replaced when the window opens and stays open until it closes, so a
// second Start appends a second listing.

#include "sensorprofiledialog.h"

class CreateSPF : public SensorProfileDialog {
    Q_OBJECT

public:
    static constexpr ProfileFileUse FileUse{"Create SPF", UserPrompts::FileDialogMode::Save,
                                            QIODevice::WriteOnly | QIODevice::Truncate, "Creating ",
                                            "Error creating "};

    CreateSPF();

    // Every line from the module while the window is shown; does nothing unless running.
    void HandleLineFromVorn(const QString& sData);
    // The connection went: a running listing cannot be completed.
    void connectionLost();

public Q_SLOTS:
    void btnStart_Click();

private:
    void unloadLater() override;
    // Writes the line and shows it; a failed write ends the run and is reported once (false).
    bool keepLine(const QString& line);
    // Ends a run that left only part of a listing in the file, saying why.
    void abandonRun(const QString& reason);
    void handleListingLine(const QString& line);
    void handlePointLine(const QString& line);

    int step_ = 0;       // 1 to 6: the listings, 7: the point list
    int readyCount_ = 0; // READY lines still expected after the point list
};

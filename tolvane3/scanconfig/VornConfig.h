#pragma once
// The scan-configuration dialog "Vorn Configuration". It keeps no settings of its own: the settings
// mirror fills its fields from the module's replies, and Apply or Close sends every field back.
// Not modal. Close hides it (it stays loaded); Cancel, Escape and the close box unload it.

#include "program/activation.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

class VornConfig : public ActivatedDialog {
    Q_OBJECT

public:
    VornConfig();

    QTabWidget* SSTab2 = nullptr;

    // Scan tab. The med* fields take any text: they are sent as typed.
    QLineEdit* medPeriod = nullptr;
    QLineEdit* medAverage = nullptr;
    QLineEdit* medRate = nullptr;
    QLineEdit* medFps = nullptr;
    QComboBox* lstUnitScan = nullptr;
    QLineEdit* medCvtUnits = nullptr;
    QCheckBox* chkEu = nullptr;
    QCheckBox* chkZc = nullptr;
    QCheckBox* chkQPkts = nullptr;
    QCheckBox* chkXScanTrig = nullptr;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* optFixPeriod = nullptr;
    QRadioButton* optFixAvg = nullptr;

    // Calibration tab: low and high bank.
    QLineEdit* medPMaxL = nullptr;
    QLineEdit* medPMaxH = nullptr;
    QLineEdit* medPMinL = nullptr;
    QLineEdit* medPMinH = nullptr;
    QLineEdit* medNegPtsL = nullptr;
    QLineEdit* medNegPtsH = nullptr;

    // Disabled by the list sequence while the settings are being read back.
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

public Q_SLOTS:
    void cmdApply_Click();
    void cmdOk_Click();
    void cmdCancel_Click();
    void SSTab2_Click(int tab);
    // The user's own edits only (textEdited): text the program sets recomputes nothing.
    void medAverage_Change();
    void medPeriod_Change();
    void medRate_Change();
    // Escape and the close box: Cancel's path, so that closing never sends a setting unasked.
    void reject() override;

private:
    // Fills the fields with the module's last reported settings: a dialog loaded afresh shows
    // what the module has, not what an earlier, cancelled one was typed.
    void showReportedSettings();
    // Lists the units again and re-reads the module's settings into the fields.
    void Form_Activate() override;
    void Form_Unload();
    void sendFields();
    // The 25 Hz advisory of a low-speed scan; false when the dialog went away meanwhile.
    bool warnAboutRate();
};

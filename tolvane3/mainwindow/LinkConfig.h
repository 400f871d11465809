#pragma once
// The link-settings dialog "Tolvane Configuration". Loaded hidden at start-up and kept loaded:
// its fields are where the settings live between uses.

#include "program/activation.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class LinkConfig : public ActivatedDialog {
    Q_OBJECT

public:
    LinkConfig();

    static constexpr quint16 DefaultHssUdpPort = 23;

    // The UDP port for high-speed frames as a number; the default when the field holds none.
    quint16 hssUdpPort() const;

    QGroupBox* Frame2 = nullptr;
    QCheckBox* chkHSS = nullptr;
    QLabel* Label12 = nullptr;
    QLineEdit* txtHssFileName = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QLabel* Label13 = nullptr;
    QLineEdit* txtHssUdpPort = nullptr;

    QGroupBox* frmUpload = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* medUploadDwell = nullptr;

    QCheckBox* chkAutoReconnect = nullptr;

    QGroupBox* frmDataLogging = nullptr;
    QCheckBox* chkOutgoing = nullptr;
    QCheckBox* chkStatusData = nullptr;
    QCheckBox* chkErrors = nullptr;
    QCheckBox* chkListData = nullptr;
    QCheckBox* chkScanData = nullptr;

    QGroupBox* frmStatusPoll = nullptr;
    QRadioButton* optStatusPollOff = nullptr;
    QRadioButton* optStatusPollAlways = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* medStatusPollInterval = nullptr;

    QPushButton* cmdOk = nullptr;

public Q_SLOTS:
    void cmdBrowse_Click();
    void cmdOk_Click();
    // The close box and Escape: apply the fields and hide, keeping every setting.
    void reject() override;

private:
    // Shown or brought forward: locks the Connect button and refills the fields from the applied
    // settings, so that edits never applied with Close are dropped.
    void Form_Activate() override;
    // Unlocks the Connect button and makes the fields the applied settings.
    void applyFields();
};

// Option buttons of one pair may both stand unselected; Qt's exclusive buttons refuse to
// uncheck the last checked one, so unchecking goes through here.
void SetOptionButton(QRadioButton* button, bool selected);

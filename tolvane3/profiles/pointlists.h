#pragma once
// The point list dialogs "List Master Points" and "List All Points": one channel's rows of the
// master or the full point table, from a starting to an ending temperature row. Not modal; OK
// sends the request and unloads, Cancel (Escape, the close box) only unloads.

#include "program/formdialog.h"

class QComboBox;
class QLabel;
class QPushButton;

class PointListDialog : public FormDialog {
    Q_OBJECT

public:
    QLabel* Label1 = nullptr;
    QComboBox* cmbChannel = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* cmbStartTemp = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* cmbEndingTemp = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

public Q_SLOTS:
    void cmdOk_Click();
    void cmdCancel_Click();
    void reject() override;

protected:
    // keyword: the request up to its first row, "List M " or "List A ".
    PointListDialog(const char* objectName, const char* caption, const char* keyword);
    // Each dialog exists once, so each unloads itself through its own registry entry.
    virtual void unloadDialog() = 0;

private:
    QString keyword_;
};

class MasterList final : public PointListDialog {
public:
    MasterList();

private:
    void unloadDialog() override;
};

class AllList final : public PointListDialog {
public:
    AllList();

private:
    void unloadDialog() override;
};

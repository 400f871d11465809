#pragma once
// The about box "About Tolvane 3": the program's name line and version line. It is created when
// shown and destroyed when closed.

#include "program/formdialog.h"

class QLabel;
class QPushButton;

class About : public FormDialog {
    Q_OBJECT

public:
    About();

    QLabel* labAbout = nullptr;
    QPushButton* cmdOk = nullptr;

public Q_SLOTS:
    void cmdOk_Click();
};

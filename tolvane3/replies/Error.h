#pragma once
// The error list window "Vorn Errors": asks the module for its error list on every activation,
// shows the error lines that arrive while it is open, and clears the module's list on request.
// Not modal.

#include "program/activation.h"

class LineBox;
class QPushButton;

class Error : public ActivatedDialog {
    Q_OBJECT

public:
    Error();

    LineBox* txtError = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdClose = nullptr;

public Q_SLOTS:
    void cmdClear_Click();
    void cmdClose_Click();
    // Escape and the close box take Close's path.
    void reject() override;

private:
    void Form_Activate() override;
};

#pragma once
// The command window "Vorn Commands": a typed command goes out when it holds a line break, the
// list buttons send the module's listings, Save makes its settings permanent after a question,
// and the result box shows every line the module sends while the window is open. Not modal.

#include "program/activation.h"

class LineBox;
class QPlainTextEdit;
class QPushButton;

class Commands : public ActivatedDialog {
    Q_OBJECT

public:
    Commands();

    // The box keeps below this many characters (lines counted with CR LF) by dropping its
    // oldest line before each new one.
    static constexpr qsizetype ResultLimit = 32000;

    // A line from the module: appended to the result box, which follows the newest line.
    void echoLine(const QString& line);

    QPlainTextEdit* txtCommand = nullptr;
    LineBox* txtResult = nullptr;
    QPushButton* cmdListAall = nullptr;
    QPushButton* cmdListAselect = nullptr;
    QPushButton* cmdListM = nullptr;
    QPushButton* cmdListMP = nullptr;
    QPushButton* cmdListC = nullptr;
    QPushButton* cmdListD = nullptr;
    QPushButton* cmdListG = nullptr;
    QPushButton* cmdListI = nullptr;
    QPushButton* cmdListO = nullptr;
    QPushButton* cmdListS = nullptr;
    QPushButton* cmdListZ = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdClose = nullptr;

public Q_SLOTS:
    void txtCommand_Change();
    void cmdListAselect_Click();
    void cmdListMP_Click();
    void cmdSave_Click();
    void cmdClear_Click();
    void cmdClose_Click();
    // Escape and the close box take Close's path.
    void reject() override;

private:
    void Form_Activate() override;
};

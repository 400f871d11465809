#include "Commands.h"

#include "MDIMain.h"
#include "profiles/pointlists.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/linebox.h"
#include "program/userprompts.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {

// The buttons that send one listing each. Those with a table range ask for all rows of the
// module's table: 60 on a 30xx, else 70. S and Z go out in the mixed case the module expects.
struct ListingButton {
    QPushButton* Commands::*member;
    const char* name;
    const char* caption;
    const char* command;
    bool allRows;
};
constexpr ListingButton ListingButtons[] = {
    {&Commands::cmdListAall, "cmdListAall", "List A (all)", "LIST A", true},
    {&Commands::cmdListM, "cmdListM", "List M (all)", "LIST M", true},
    {&Commands::cmdListC, "cmdListC", "List C", "LIST C", false},
    {&Commands::cmdListD, "cmdListD", "Delta", "LIST D", false},
    {&Commands::cmdListG, "cmdListG", "List G", "LIST G", false},
    {&Commands::cmdListI, "cmdListI", "List I", "LIST I", false},
    {&Commands::cmdListO, "cmdListO", "List O", "LIST O", false},
    {&Commands::cmdListS, "cmdListS", "List S", "List S", false},
    {&Commands::cmdListZ, "cmdListZ", "Zeros", "List Z", false},
};

QString ListingCommand(const ListingButton& button) {
    QString command = QLatin1String(button.command);
    if (button.allRows) {
        command += Global::Model30 ? QStringLiteral(" 0 59") : QStringLiteral(" 0 69");
    }
    return command + QLatin1Char('\r');
}

} // namespace

// A child of the frame, so that it stays over the frame.
Commands::Commands() : ActivatedDialog(&FormInstance<MDIMain>::instance()) {
    setObjectName(QStringLiteral("Commands"));
    setWindowTitle(QStringLiteral("Vorn Commands"));
    setWindowFlags(DialogWindowFlags);
    setModal(false);

    const QFont fixedFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    txtCommand = Named(new QPlainTextEdit, "txtCommand");
    txtCommand->setAccessibleName(QStringLiteral("Command"));
    txtCommand->setFont(fixedFont);
    txtCommand->setTabChangesFocus(true);
    txtCommand->setFixedHeight(txtCommand->fontMetrics().lineSpacing() * 3);
    txtResult = Named(new LineBox, "txtResult");
    txtResult->setAccessibleName(QStringLiteral("Results"));
    txtResult->setFont(fixedFont);
    txtResult->setFollowsNewest(true);
    txtResult->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtResult->setMinimumSize(560, 300);

    const auto button = [](const char* name, const char* caption) {
        return Named(new QPushButton(QLatin1String(caption)), name);
    };
    for (const ListingButton& listing : ListingButtons) {
        QPushButton* created = button(listing.name, listing.caption);
        this->*listing.member = created;
        connect(created, &QPushButton::clicked, this, [this, &listing] {
            Global::SendVornCommand(ListingCommand(listing));
            txtCommand->setFocus();
        });
    }
    cmdListAselect = button("cmdListAselect", "List A (select)");
    cmdListMP = button("cmdListMP", "List M (select)");
    cmdSave = button("cmdSave", "Save");
    cmdClear = button("cmdClear", "Clear Results");
    cmdClose = button("cmdClose", "Close");

    auto* listings = new QGridLayout;
    constexpr int columns = 4;
    int position = 0;
    for (QPushButton* placed : {cmdListAall, cmdListAselect, cmdListM, cmdListMP, cmdListC,
                                cmdListD, cmdListG, cmdListI, cmdListO, cmdListS, cmdListZ}) {
        listings->addWidget(placed, position / columns, position % columns);
        ++position;
    }
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(cmdSave);
    bottom->addStretch();
    bottom->addWidget(cmdClear);
    bottom->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtCommand);
    layout->addLayout(listings);
    layout->addWidget(txtResult, 1);
    layout->addLayout(bottom);

    connect(txtCommand, &QPlainTextEdit::textChanged, this, &Commands::txtCommand_Change);
    connect(cmdListAselect, &QPushButton::clicked, this, &Commands::cmdListAselect_Click);
    connect(cmdListMP, &QPushButton::clicked, this, &Commands::cmdListMP_Click);
    connect(cmdSave, &QPushButton::clicked, this, &Commands::cmdSave_Click);
    connect(cmdClear, &QPushButton::clicked, this, &Commands::cmdClear_Click);
    connect(cmdClose, &QPushButton::clicked, this, &Commands::cmdClose_Click);
}

void Commands::echoLine(const QString& line) {
    if (txtResult->length() >= ResultLimit) {
        txtResult->removeFirstLine();
    }
    txtResult->appendLine(line);
}

void Commands::Form_Activate() {
    Global::DisableConnectButton(this);
}

void Commands::txtCommand_Change() {
    // Qt keeps Enter as a paragraph separator and Shift+Enter as a line separator; the module
    // gets either as CR LF, the line break a typed command ends with. The raw text keeps every
    // other character as typed (no-break spaces included).
    QString text = txtCommand->document()->toRawText();
    const QString lineBreak = QStringLiteral("\r\n");
    const qsizetype length = text.size();
    text.replace(QChar::ParagraphSeparator, lineBreak).replace(QChar::LineSeparator, lineBreak);
    if (text.size() == length) {
        return;
    }
    Global::SendVornCommand(text);
    // Emptying the box changes it again, with no line break: that sends nothing.
    txtCommand->clear();
    txtCommand->setFocus();
}

void Commands::cmdListAselect_Click() {
    BringForward(FormInstance<AllList>::instance());
}

void Commands::cmdListMP_Click() {
    BringForward(FormInstance<MasterList>::instance());
}

void Commands::cmdSave_Click() {
    // The box waits in a nested event loop, in which the program may unload this window.
    const QPointer<Commands> self(this);
    const QMessageBox::StandardButton answer = UserPrompts::MsgBox(
        QStringLiteral("Warning this will make all changes permanant. Do you want to continue?"),
        UserPrompts::ProgramTitle, QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        Global::SendVornCommand(QStringLiteral("SAVE\r"));
    }
    if (self) {
        txtCommand->setFocus();
    }
}

void Commands::cmdClear_Click() {
    txtResult->clearLines();
    txtCommand->setFocus();
}

void Commands::cmdClose_Click() {
    Global::EnableConnectButton(this);
    // Unloaded from inside its own handler: forgotten now, destroyed once the handler returns.
    FormInstance<Commands>::unloadLater();
}

void Commands::reject() {
    cmdClose_Click();
}

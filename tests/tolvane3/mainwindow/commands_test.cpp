// The command window against a fake module.

#include "program/linebox.h"
#include "program_fixture.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <functional>

namespace {

Commands& commands() {
    return FormInstance<Commands>::instance();
}

class CommandsTest : public ProgramFixture {
protected:
    void openConnected() {
        ASSERT_TRUE(startConnectedQuietly());
        frame().toolbarButton(12)->trigger();
        ASSERT_TRUE(commands().isVisible());
    }
};

TEST_F(CommandsTest, EachListingButtonSendsItsCommandAndGivesTheFocusBackAndSaveAsksFirst) {
    openConnected();
    const std::tuple<QPushButton * Commands::*, const char*, const char*> cases[] = {
        {&Commands::cmdListAall, "LIST A 0 69\r", "LIST A 0 59\r"},
        {&Commands::cmdListM, "LIST M 0 69\r", "LIST M 0 59\r"},
        {&Commands::cmdListC, "LIST C\r", "LIST C\r"},
        {&Commands::cmdListD, "LIST D\r", "LIST D\r"},
        {&Commands::cmdListG, "LIST G\r", "LIST G\r"},
        {&Commands::cmdListI, "LIST I\r", "LIST I\r"},
        {&Commands::cmdListO, "LIST O\r", "LIST O\r"},
        {&Commands::cmdListS, "List S\r", "List S\r"},
        {&Commands::cmdListZ, "List Z\r", "List Z\r"},
    };
    for (const bool model30 : {false, true}) {
        Global::Model30 = model30;
        for (const auto& [member, otherModel, model30xx] : cases) {
            QPushButton* button = commands().*member;
            button->setFocus();
            button->click();
            EXPECT_EQ(bytesSent(), model30 ? model30xx : otherModel) << model30xx;
            EXPECT_EQ(commands().focusWidget(), commands().txtCommand) << model30xx;
        }
    }
    // Save asks first and sends only on Yes.
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        answerMessages(answer);
        commands().cmdSave->click();
        EXPECT_EQ(bytesSent(), answer == QMessageBox::Yes ? "SAVE\r" : "");
    }
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0].text,
              "Warning this will make all changes permanant. Do you want to continue?");
    EXPECT_EQ(messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
}

TEST_F(CommandsTest, TypedTextGoesOutWholeWhenItHoldsALineBreakAndEnterActsNowhereElse) {
    openConnected();
    QPlainTextEdit* box = commands().txtCommand;
    const std::pair<std::function<void()>, QByteArray> cases[] = {
        {[box] { QTest::keyClicks(box, "LIST S"); }, ""},
        {[box] { QTest::keyClick(box, Qt::Key_Return); }, "LIST S\r\n"},
        {[box] {
             QTest::keyClicks(box, QStringLiteral(u"LIST\u00a0S"));
             QTest::keyClick(box, Qt::Key_Left);
             QTest::keyClick(box, Qt::Key_Enter);
         },
         "LIST\xa0\r\nS"},
        {[box] {
             QTest::keyClicks(box, "STOP");
             QTest::keyClick(box, Qt::Key_Return, Qt::ShiftModifier);
         },
         "STOP\r\n"},
        {[box] { box->insertPlainText(QStringLiteral("SCAN\nSTOP")); }, "SCAN\r\nSTOP"},
    };
    for (const auto& [act, sent] : cases) {
        act();
        EXPECT_EQ(bytesSent(), sent);
        EXPECT_EQ(box->toPlainText().isEmpty(), !sent.isEmpty()) << sent.toStdString();
    }
    // Enter belongs to the command box alone (no button is a default: the frame's check); Space
    // on the focused button is a press.
    Commands& form = commands();
    checkPresses<Commands>({
        {"Enter in the results", key(form.txtResult, Qt::Key_Return), "", true},
        {"Space on a listing button", key(form.cmdListC, Qt::Key_Space), "LIST C\r", true},
        {"Escape", key(form.txtCommand, Qt::Key_Escape), "", false},
    });
}

TEST_F(CommandsTest, TheResultBoxDropsItsOldestLineOnceItHolds32000Characters) {
    startProgram();
    frame().mnuCommands->trigger();
    LineBox* box = commands().txtResult;
    const auto line = [](int number, qsizetype width) {
        return QStringLiteral("L%1").arg(number, 3, 10, QLatin1Char('0')).leftJustified(width, '.');
    };
    // The count, and the first line shown once the view has caught up with the event loop.
    const auto held = [box] {
        QCoreApplication::processEvents();
        return std::pair(box->length(), box->document()->firstBlock().text());
    };
    // Lines of 100 characters with their CR LF: 320 of them make 32,000, the limit.
    for (int number = 0; number < 320; ++number) {
        Global::ProcessVornLine(line(number, 98));
    }
    EXPECT_EQ(held(), std::pair(qsizetype{32000}, line(0, 98)));
    Global::ProcessVornLine(QStringLiteral("X"));
    EXPECT_EQ(held(), std::pair(qsizetype{31903}, line(1, 98)));
    Global::ProcessVornLine(line(320, 94));
    Global::ProcessVornLine(QStringLiteral("Y\rZ")); // below the limit before it: nothing dropped
    EXPECT_EQ(held(), std::pair(qsizetype{32004}, line(1, 98)));
    EXPECT_EQ(box->document()->lastBlock().text(), "Y\u240DZ");
    Global::ProcessVornLine(QStringLiteral("W"));
    EXPECT_EQ(held(), std::pair(qsizetype{31907}, line(2, 98)));
    // Lines of one turn of the event loop that come and go before the view catches up.
    for (int number = 400; number < 800; ++number) {
        Global::ProcessVornLine(line(number, 98));
    }
    EXPECT_EQ(held(), std::pair(qsizetype{32300}, line(477, 98)));
    EXPECT_EQ(box->document()->lastBlock().text(), line(799, 98));
    EXPECT_EQ(box->document()->blockCount(), 323);
    EXPECT_TRUE(box->textCursor().atEnd());

    commands().cmdClear->click();
    EXPECT_EQ(box->length(), 0);
    EXPECT_EQ(commands().focusWidget(), commands().txtCommand);
    // Lines that come while the window is closed are not kept for it.
    commands().close();
    Global::ProcessVornLine(QStringLiteral("SET PAGE 1"));
    frame().mnuCommands->trigger();
    EXPECT_EQ(commands().txtResult->length(), 0);
}

} // namespace

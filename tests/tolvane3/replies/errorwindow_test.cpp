// The error list window against a fake module.

#include "program/linebox.h"
#include "program_fixture.h"

#include <QTextBlock>

namespace {

Error& errorWindow() {
    return FormInstance<Error>::instance();
}

QStringList shownLines() {
    QCoreApplication::processEvents(); // the view catches up once the event loop turns
    return errorWindow().txtError->toPlainText().split(QLatin1Char('\n'));
}

class ErrorWindowTest : public ProgramFixture {
protected:
    // The module's answer to ERROR, waited for in the box.
    void answerErrors(const QByteArray& last) {
        module.sendLine("ERROR: 12 bad key");
        module.sendLine(last);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return errorWindow().txtError->document()->lastBlock().text() == last; }));
    }
};

TEST_F(ErrorWindowTest, EveryActivationAsksOnceClearStartsAfreshAndOnlyAPressClears) {
    ASSERT_TRUE(startConnectedQuietly());
    Global::ProcessVornLine(QStringLiteral("ERROR: 3 while closed")); // not kept for the window
    frame().toolbarButton(13)->trigger();
    ASSERT_TRUE(focusOn(errorWindow()));
    EXPECT_EQ(bytesSent(), "ERROR\r"); // shown and focused: one activation
    for (const char* line : {"ERROR:5 not an error line", "error: 6 nor this"}) {
        Global::ProcessVornLine(QLatin1String(line));
    }
    answerErrors("ERROR: 1 first answer");

    // When activation happens is the scan-configuration dialog's check.
    frame().mnuErrors->trigger(); // chosen again while open
    EXPECT_EQ(bytesSent(), "ERROR\r");
    answerErrors("ERROR: 2 second answer");
    EXPECT_EQ(shownLines(), QStringList({"ERROR: 12 bad key", "ERROR: 1 first answer",
                                         "ERROR: 12 bad key", "ERROR: 2 second answer"}));

    // Clear Errors clears the module's list and shows only its new answer.
    errorWindow().cmdClear->click();
    EXPECT_EQ(errorWindow().txtError->length(), 0);
    EXPECT_EQ(bytesSent(), "CLEAR\rERROR\r");
    answerErrors("ERROR: 3 new");
    EXPECT_EQ(shownLines(), QStringList({"ERROR: 12 bad key", "ERROR: 3 new"}));

    // Enter presses nothing, Clear Errors least of all (no button is a default: the frame's
    // check); Space on the focused button is a press.
    Error& form = errorWindow();
    checkPresses<Error>({
        {"Enter in the box", key(form.txtError, Qt::Key_Return), "", true},
        {"Space on Clear Errors", key(form.cmdClear, Qt::Key_Space), "CLEAR\rERROR\r", true},
        {"Escape", key(form.txtError, Qt::Key_Escape), "", false},
    });
    EXPECT_TRUE(window().Command1->isEnabled());
}

} // namespace

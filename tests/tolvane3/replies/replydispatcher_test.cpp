// The reply dispatcher: status lines of both module forms, banner lines, tokens, and the SET
// branch stepping the list sequence.

#include "mainwindow/MDIMain.h"
#include "program/Global.h"
#include "program/forms.h"
#include "replies/replytokens.h"
#include "settings_sandbox.h"

#include <gtest/gtest.h>

namespace {

class ReplyDispatcher : public ::testing::Test {
protected:
    void SetUp() override {
        FormInstance<MDIMain>::instance().MDIForm_Load();
        setPanel(QStringLiteral("before"));
    }
    void TearDown() override {
        Global::Model30 = false;
        Global::Model07 = false;
        Global::ConnectedAddress.clear();
        Global::ListLetters.clear();
        Global::ListPosition = 1;
    }
    static void setPanel(const QString& text) {
        FormInstance<MDIMain>::instance().setStatusPanel(2, text);
    }
    static QString panel() { return FormInstance<MDIMain>::instance().statusPanel(2); }
    // Panel 2 after dispatching the line, starting from "before".
    static QString panelAfter(const char* line) {
        setPanel(QStringLiteral("before"));
        Global::ProcessVornLine(QString::fromLatin1(line));
        return panel();
    }

    SettingsSandbox sandbox;
};

TEST_F(ReplyDispatcher, StatusColonLinesShowWithoutTheModel30Form) {
    EXPECT_EQ(panelAfter("STATUS: READY"), QStringLiteral("Vorn Status: READY"));
    EXPECT_EQ(panelAfter("STATUS: BUSY extra words"), QStringLiteral("Vorn Status: BUSY"));
    EXPECT_EQ(panelAfter("STATUS:"), QStringLiteral("Vorn Status: "));
    EXPECT_EQ(panelAfter("Status->BUSY"), QStringLiteral("before"));
    EXPECT_EQ(panelAfter("status: READY"), QStringLiteral("before"));
    EXPECT_EQ(panelAfter(" STATUS: READY"), QStringLiteral("before"));
}

TEST_F(ReplyDispatcher, ArrowLinesShowOnlyWithTheModel30Form) {
    Global::Model30 = true;
    EXPECT_EQ(panelAfter("Status->BUSY"), QStringLiteral("Vorn Status: BUSY"));
    EXPECT_EQ(panelAfter("Status->READY now"), QStringLiteral("Vorn Status: READY"));
    EXPECT_EQ(panelAfter("Status->"), QStringLiteral("Vorn Status: "));
    EXPECT_EQ(panelAfter("STATUS: READY"), QStringLiteral("before"));
    EXPECT_EQ(panelAfter("Module 3016 ready"), QStringLiteral("before"));
}

TEST_F(ReplyDispatcher, EmptyLinesAndArbitraryBytesAreHarmless) {
    EXPECT_EQ(panelAfter(""), QStringLiteral("before"));
    Global::ProcessVornLine(QString::fromLatin1(QByteArray("\x00\xff SET \x01", 8)));
    Global::ProcessVornLine(QString(300, QLatin1Char(' ')));
    EXPECT_EQ(panel(), QStringLiteral("before"));
}

TEST_F(ReplyDispatcher, TheLastLineOfASettingsGroupAsksForTheNext) {
    Global::ListLetters = QStringLiteral("ICHS");
    Global::ListPosition = 2; // "List I" has gone out
    Global::ProcessVornLine(QStringLiteral("SET PAGE 1"));
    EXPECT_EQ(Global::ListPosition, 3);
    Global::ProcessVornLine(QStringLiteral("SET  NEGPTSH 0")); // empty key: not a group end
    Global::ProcessVornLine(QStringLiteral("set MAX15 100"));  // "SET" is case-sensitive
    Global::ProcessVornLine(QStringLiteral("SET MAX14 100"));
    EXPECT_EQ(Global::ListPosition, 3);
    Global::ProcessVornLine(QStringLiteral("SET MAX15 100"));
    Global::ProcessVornLine(QStringLiteral("SET HOST 0 0 T"));
    EXPECT_EQ(Global::ListPosition, 5);
    Global::ProcessVornLine(QStringLiteral("SET PAGE 1")); // past the end: nothing more to ask
    EXPECT_EQ(Global::ListPosition, 5);
}

TEST_F(ReplyDispatcher, TheModelLineNamesTheModelAndSetsBothModelFlags) {
    Global::ConnectedAddress = QStringLiteral("10.0.0.7");
    Global::ProcessVornLine(QStringLiteral("SET MODEL 3099"));
    EXPECT_EQ(FormInstance<MDIMain>::instance().statusPanel(1),
              QStringLiteral("Connected to 10.0.0.7 (Model 3099)"));
    EXPECT_TRUE(Global::Model30);
    EXPECT_FALSE(Global::Model07);
    // From now on the arrow form is the status line.
    EXPECT_EQ(panelAfter("Status->READY"), QStringLiteral("Vorn Status: READY"));

    Global::ProcessVornLine(QStringLiteral("SET MODEL 1207"));
    EXPECT_FALSE(Global::Model30);
    EXPECT_TRUE(Global::Model07);
    EXPECT_EQ(FormInstance<MDIMain>::instance().statusPanel(1),
              QStringLiteral("Connected to 10.0.0.7 (Model 1207)"));

    // The flags look at the text as sent; only the panel trims it.
    Global::ProcessVornLine(QStringLiteral("SET MODEL 3007\t"));
    EXPECT_TRUE(Global::Model30);
    EXPECT_FALSE(Global::Model07);
    EXPECT_EQ(FormInstance<MDIMain>::instance().statusPanel(1),
              QStringLiteral("Connected to 10.0.0.7 (Model 3007)"));
}

TEST(ReplyTokens, EverySingleSpaceSeparatesATokenAndMissingOnesAreEmpty) {
    const ReplyTokens tokens(QStringLiteral(" SET  HOST 0"));
    EXPECT_EQ(tokens.count(), 5);
    EXPECT_EQ(tokens[0], QString());
    EXPECT_EQ(tokens[1], QStringLiteral("SET"));
    EXPECT_EQ(tokens[2], QString());
    EXPECT_EQ(tokens[3], QStringLiteral("HOST"));
    EXPECT_EQ(tokens[4], QStringLiteral("0"));
    EXPECT_EQ(tokens[5], QString());
    EXPECT_EQ(tokens[-1], QString());

    // Only the first 101 tokens are kept.
    QStringList words;
    for (int i = 0; i < 500; ++i) {
        words << QString::number(i);
    }
    const ReplyTokens many(words.join(QLatin1Char(' ')));
    EXPECT_EQ(many.count(), ReplyTokens::Slots);
    EXPECT_EQ(many[100], QStringLiteral("100"));
    EXPECT_EQ(many[101], QString());
}

} // namespace

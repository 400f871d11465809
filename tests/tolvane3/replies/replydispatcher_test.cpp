// The reply dispatcher: status lines of both module forms, banner lines, odd bytes, the model
// line, and the SET branch stepping the list sequence.

#include "settings_sandbox.h"

#include <tuple>

namespace {

class ReplyDispatcher : public ::testing::Test {
protected:
    void SetUp() override { FormInstance<MDIMain>::instance().MDIForm_Load(); }
    static QString panel() { return FormInstance<MDIMain>::instance().statusPanel(2); }
    // Panel 2 after dispatching the line, starting from "before".
    static QString panelAfter(const QByteArray& line) {
        FormInstance<MDIMain>::instance().setStatusPanel(2, QStringLiteral("before"));
        Global::ProcessVornLine(QString::fromLatin1(line));
        return panel();
    }

    SettingsSandbox sandbox;
};

TEST_F(ReplyDispatcher, StatusLinesOfTheModulesFormShowInPanelTwoAndOthersAreIgnored) {
    const std::tuple<bool, const char*, const char*> cases[] = {
        {false, "STATUS: BUSY extra words", "Vorn Status: BUSY"},
        {false, "STATUS:", "Vorn Status: "},
        {false, "Status->BUSY", "before"},
        {false, "status: READY", "before"},
        {false, " STATUS: READY", "before"},
        {false, "", "before"},
        {true, "Status->READY now", "Vorn Status: READY"},
        {true, "Status->", "Vorn Status: "},
        {true, "STATUS: READY", "before"},
        {true, "Module 3016 ready", "before"}};
    for (const auto& [model30, line, shown] : cases) {
        Global::Model30 = model30;
        EXPECT_EQ(panelAfter(line), QLatin1String(shown)) << line;
    }
    EXPECT_EQ(panelAfter(QByteArray("\x00\xff SET \x01", 8)), QStringLiteral("before"));
    Global::ProcessVornLine(QString(300, QLatin1Char(' '))); // more tokens than are kept
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
    // The flags look at the text as sent; only the panel trims it.
    Global::ProcessVornLine(QStringLiteral("SET MODEL 3007\t"));
    EXPECT_TRUE(Global::Model30);
    EXPECT_FALSE(Global::Model07);
    EXPECT_EQ(FormInstance<MDIMain>::instance().statusPanel(1),
              QStringLiteral("Connected to 10.0.0.7 (Model 3007)"));
}

} // namespace

// The reply dispatcher.

#include "settings_sandbox.h"

#include <QLabel>
#include <QStatusBar>
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
        {false, "STATUS: <b>BUSY</b> extra words", "Vorn Status: <b>BUSY</b>"},
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
    EXPECT_EQ(panelAfter(QByteArray("\x00\xff SET \x01", 8)), "before");
    Global::ProcessVornLine(QString(300, QLatin1Char(' '))); // more tokens than are kept
    EXPECT_EQ(panel(), "before");
    // The module's text is shown as it is, never as markup.
    const auto* label = FormInstance<MDIMain>::instance().StatusBar1->findChild<QLabel*>(
        QStringLiteral("StatusBar1Panel2"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
}

TEST_F(ReplyDispatcher, TheLastLineOfASettingsGroupAsksForTheNext) {
    Global::ListLetters = QStringLiteral("ICHS");
    Global::ListPosition = 2; // "List I" has gone out
    // Lines in order, the list position after each: an empty key ends no group, "SET" is
    // case-sensitive, and past the end there is nothing more to ask.
    const std::pair<const char*, int> steps[] = {
        {"SET PAGE 1", 3},    {"SET  NEGPTSH 0", 3}, {"set MAX15 100", 3}, {"SET MAX14 100", 3},
        {"SET MAX15 100", 4}, {"SET HOST 0 0 T", 5}, {"SET PAGE 1", 5}};
    for (const auto& [line, position] : steps) {
        Global::ProcessVornLine(QLatin1String(line));
        EXPECT_EQ(Global::ListPosition, position) << line;
    }
}

TEST_F(ReplyDispatcher, TheModelLineNamesTheModelAndSetsBothModelFlags) {
    Global::ConnectedAddress = QStringLiteral("10.0.0.7");
    Global::ProcessVornLine(QStringLiteral("SET MODEL 3099"));
    EXPECT_EQ(FormInstance<MDIMain>::instance().statusPanel(1),
              "Connected to 10.0.0.7 (Model 3099)");
    EXPECT_EQ(std::pair(Global::Model30, Global::Model07), std::pair(true, false));

    Global::ProcessVornLine(QStringLiteral("SET MODEL 1207"));
    EXPECT_EQ(std::pair(Global::Model30, Global::Model07), std::pair(false, true));
    // The flags look at the text as sent; only the panel trims it.
    Global::ProcessVornLine(QStringLiteral("SET MODEL 3007\t"));
    EXPECT_EQ(std::pair(Global::Model30, Global::Model07), std::pair(true, false));
    EXPECT_EQ(FormInstance<MDIMain>::instance().statusPanel(1),
              "Connected to 10.0.0.7 (Model 3007)");
}

} // namespace

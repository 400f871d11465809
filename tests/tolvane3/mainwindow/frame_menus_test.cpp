// The frame's design: menu tree, toolbar, and the bar-graph check marks.

#include "program_fixture.h"

#include <QAccessible>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {

struct Entry {
    const char* name;
    const char* caption; // "-" for a separator
};
struct TopLevelEntry {
    Entry entry;
    std::vector<Entry> items;
};

const std::vector<TopLevelEntry> MenuTree = {
    {{"mnuFile", "File"},
     {{"mnuOpenLogFile", "Open Log File"},
      {"mnuCloseLogFile", "Close Log File"},
      {"mnuBar0", "-"},
      {"mnuUploadFileToVorn", "Upload File To VORN"},
      {"mnuBar1", "-"},
      {"mnuTolvaneSettings", "Tolvane Settings"},
      {"mnuBar2", "-"},
      {"mnuExit", "Exit"}}},
    {{"mnuConnect", "Connect"}, {}},
    {{"mnuBarGraph", "BarGraph"},
     {{"mnuBarGraphOpen", "Open"},
      {"mnuLine10", "-"},
      {"mnuBarGraphPress", "Display Pressures"},
      {"mnuBarGraphTemp", "Display Temperatures"},
      {"mnuLine11", "-"},
      {"mnuBarGraph0Places", "Display 0 Decimal Places"},
      {"mnuBarGraph1Places", "Display 1 Decimal Place"},
      {"mnuBarGraph2Places", "Display 2 Decimal Places"},
      {"mnuBarGraph3Places", "Display 3 Decimal Places"},
      {"mnuBarGraph4Places", "Display 4 Decimal Places"},
      {"mnuBarGraph5Places", "Display 5 Decimal Places"},
      {"mnuLin14", "-"},
      {"mnuTag1to16", "Tag High and Low Over Channels 1 to 16"},
      {"mnuTag1to8", "Tag High and Low Over Channels 1 to 8"},
      {"mnuTag9to16", "Tag High and Low Over Channles 9 to 16"}}},
    {{"mnuVorn", "Vorn"},
     {{"mnuStartScan", "StartScan"},
      {"mnuStop", "Stop"},
      {"mnuCalZero", "Cal Zero"},
      {"mnuBar4", "-"},
      {"mnuConfigure", "Configure"},
      {"mnuCommands", "Commands"},
      {"mnuSaveSettings", "Save Settings"},
      {"mnuBar6", "-"},
      {"mnuErrors", "Errors"}}},
    {{"mnuSensor", "Sensor"},
     {{"mnuUploadSensorProfileFile", "UploadSensorProfileFile"},
      {"mnuCreateSensorProfileFile", "Create Sensor Profile File"}}},
    {{"mnuHelp", "Help"}, {{"mnuAbout", "About"}}},
};

void expectEntry(const QAction* action, const Entry& expected) {
    EXPECT_EQ(action->objectName(), QLatin1String(expected.name));
    if (QLatin1String(expected.caption) == QLatin1String("-")) {
        EXPECT_TRUE(action->isSeparator()) << expected.name;
        return;
    }
    EXPECT_EQ(action->text(), QLatin1String(expected.caption)) << expected.name;
    // No shortcut keys, nothing checked or disabled in the design.
    EXPECT_TRUE(action->shortcut().isEmpty()) << expected.name;
    EXPECT_FALSE(action->isChecked()) << expected.name;
    EXPECT_TRUE(action->isEnabled()) << expected.name;
}

TEST_F(ProgramFixture, MenuTreeHasEveryEntryInOrderWithItsCaption) {
    const QList<QAction*> topLevel = frame().menuBar()->actions();
    ASSERT_EQ(topLevel.size(), static_cast<qsizetype>(MenuTree.size()));
    for (std::size_t i = 0; i < MenuTree.size(); ++i) {
        const QAction* action = topLevel[static_cast<qsizetype>(i)];
        expectEntry(action, MenuTree[i].entry);
        const QMenu* menu = action->menu();
        if (MenuTree[i].items.empty()) {
            EXPECT_EQ(menu, nullptr) << MenuTree[i].entry.name;
            continue;
        }
        ASSERT_NE(menu, nullptr) << MenuTree[i].entry.name;
        const QList<QAction*> items = menu->actions();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(MenuTree[i].items.size()));
        for (std::size_t j = 0; j < MenuTree[i].items.size(); ++j) {
            expectEntry(items[static_cast<qsizetype>(j)], MenuTree[i].items[j]);
        }
    }
    // The public members are the entries of the tree.
    EXPECT_EQ(frame().mnuVorn, topLevel[3]);
    EXPECT_EQ(frame().mnuCalZero, topLevel[3]->menu()->actions()[2]);
}

TEST_F(ProgramFixture, ToolbarButtonsByPositionWithKeysAndToolTips) {
    struct Button {
        int index;
        const char* key;
        const char* toolTip;
    };
    const Button buttons[] = {
        {1, "OpenLogFile", "Open New or Existing Log File"},
        {2, "CloseLogFile", "Close Log File"},
        {4, "ConfigureVorn", "Configure Vorn"},
        {5, "ConfigureTolvane", "Configure Tolvane"},
        {7, "StartScan", "Start Scan"},
        {8, "StopScan", "Stop"},
        {10, "CalZ", "Start Zero Calibration"},
        {12, "Commands", "Send Commands to Vorn"},
        {13, "Errors", "View or Clear Vorn Errors"},
        {14, "Help", "Help"},
    };
    EXPECT_EQ(frame().Toolbar1->actions().size(), MDIMain::ToolbarButtonCount);
    for (const int separator : {3, 6, 9, 11}) {
        EXPECT_TRUE(frame().toolbarButton(separator)->isSeparator()) << separator;
    }
    for (const Button& button : buttons) {
        const QAction* action = frame().toolbarButton(button.index);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action, frame().Toolbar1->actions()[button.index - 1]);
        EXPECT_EQ(action->data().toString(), QLatin1String(button.key));
        EXPECT_EQ(action->toolTip(), QLatin1String(button.toolTip));
        EXPECT_FALSE(action->icon().isNull()) << button.key;
        // Icon-only buttons are known to screen readers by their tool tip.
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(
            frame().Toolbar1->widgetForAction(const_cast<QAction*>(action)));
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->text(QAccessible::Name), QLatin1String(button.toolTip));
    }
    EXPECT_EQ(frame().toolbarButton(0), nullptr);
    EXPECT_EQ(frame().toolbarButton(15), nullptr);
}

TEST_F(ProgramFixture, DecimalPlacesLeaveExactlyTheChosenEntryChecked) {
    frame().mnuBarGraph2Places->setChecked(true);
    frame().mnuBarGraph3Places->trigger();
    const auto places = frame().decimalPlacesEntries();
    for (std::size_t i = 0; i < places.size(); ++i) {
        EXPECT_EQ(places[i]->isChecked(), i == 3) << i;
    }
    EXPECT_EQ(Global::DisplayFormat, QStringLiteral("0.000"));

    // Choosing the checked entry again keeps it checked.
    frame().mnuBarGraph3Places->trigger();
    EXPECT_TRUE(frame().mnuBarGraph3Places->isChecked());
    frame().mnuBarGraph0Places->trigger();
    EXPECT_EQ(Global::DisplayFormat, QStringLiteral("0"));
    frame().mnuBarGraph5Places->trigger();
    EXPECT_EQ(Global::DisplayFormat, QStringLiteral("0.00000"));
}

TEST_F(ProgramFixture, PressuresAndTemperaturesAreNeverCheckedTogether) {
    frame().mnuBarGraphPress->setChecked(true);
    frame().mnuBarGraphTemp->trigger();
    EXPECT_TRUE(frame().mnuBarGraphTemp->isChecked());
    EXPECT_FALSE(frame().mnuBarGraphPress->isChecked());
    frame().mnuBarGraphTemp->trigger();
    EXPECT_TRUE(frame().mnuBarGraphTemp->isChecked());
    frame().mnuBarGraphPress->trigger();
    EXPECT_TRUE(frame().mnuBarGraphPress->isChecked());
    EXPECT_FALSE(frame().mnuBarGraphTemp->isChecked());
}

TEST_F(ProgramFixture, CalZeroAndSaveSettingsSendTheirCommand) {
    SettingsSandbox::store({{"StatusPollAlways", "False"}, {"StatusPollOff", "True"}});
    startProgram();
    ASSERT_TRUE(connectTo(module.address()));
    ASSERT_TRUE(module.waitForCommandCount("List I", 1));

    module.clearReceived();
    frame().toolbarButton(10)->trigger();
    ASSERT_TRUE(module.waitForBytes(5));
    EXPECT_EQ(module.received(), QByteArray("CALZ\r"));

    module.clearReceived();
    frame().mnuCalZero->trigger();
    ASSERT_TRUE(module.waitForBytes(5));
    EXPECT_EQ(module.received(), QByteArray("CALZ\r"));

    module.clearReceived();
    frame().mnuSaveSettings->trigger();
    ASSERT_TRUE(module.waitForBytes(5));
    EXPECT_EQ(module.received(), QByteArray("SAVE\r"));
}

TEST_F(ProgramFixture, AToolbarKeyOfNoButtonDoesNothing) {
    startProgram();
    QAction stray(QStringLiteral("stray"));
    stray.setData(QStringLiteral("help")); // keys compare case-sensitively
    frame().Toolbar1_ButtonClick(&stray);
    EXPECT_FALSE(FormInstance<About>::isLoaded());
    EXPECT_FALSE(linkConfig().isVisible());
}

} // namespace

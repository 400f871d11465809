// The settings store: keys, defaults, the "True" rule, the status-poll option pair, what is
// written at shut-down, and the bar graph's number format.

#include "settings_sandbox.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {

LinkConfig& dialog() {
    return FormInstance<LinkConfig>::instance();
}
MDIMain& frame() {
    return FormInstance<MDIMain>::instance();
}

TEST(SettingsStore, FirstRunGivesTheDefaultsAndShutDownStoresThem) {
    SettingsSandbox sandbox;
    Global::LoadSettings();

    EXPECT_TRUE(dialog().optStatusPollAlways->isChecked());
    EXPECT_EQ(dialog().hssUdpPort(), 23);
    const auto places = frame().decimalPlacesEntries();
    for (std::size_t i = 0; i < places.size(); ++i) {
        EXPECT_EQ(places[i]->isChecked(), i == 2) << i;
    }

    // Without engineering units the bar graph shows whole numbers.
    EXPECT_EQ(Global::DisplayFormat, QStringLiteral("0"));

    // Shut-down writes every key as text.
    Global::SaveSettings();
    EXPECT_EQ(SettingsSandbox::openStore().fileName(),
              sandbox.path(QStringLiteral("config/TolvaneXp.conf")));
    const std::pair<const char*, const char*> expected[] = {
        {"StatusPollAlways", "True"}, {"StatusPollOff", "False"},   {"StatusPollInterval", "2"},
        {"LogScanData", "True"},      {"LogListData", "False"},     {"LogErrors", "False"},
        {"LogStatusData", "False"},   {"LogOutgoing", "False"},     {"UploadDwell", "300"},
        {"Pressure", "True"},         {"Temperature", "False"},     {"BarGraph0Places", "False"},
        {"BarGraph1Places", "False"}, {"BarGraph2Places", "True"},  {"BarGraph3Places", "False"},
        {"BarGraph4Places", "False"}, {"BarGraph5Places", "False"}, {"HssEnabled", "False"},
        {"HssFileName", ""},          {"HssUdpPort", "23"},
    };
    for (const auto& [key, text] : expected) {
        EXPECT_EQ(SettingsSandbox::stored(key), QLatin1String(text)) << key;
    }
}

TEST(SettingsStore, StoredValuesComeBackAfterARestart) {
    SettingsSandbox sandbox;
    SettingsSandbox::store({{"StatusPollInterval", "5"},
                            {"LogErrors", "True"},
                            {"UploadDwell", "750"},
                            {"Temperature", "True"},
                            {"Pressure", "False"},
                            {"BarGraph2Places", "False"},
                            {"BarGraph4Places", "True"},
                            {"HssEnabled", "True"},
                            {"HssFileName", "C:\\runs\\wing a.csv"},
                            {"HssUdpPort", "5005"}});
    Global::LoadSettings();
    EXPECT_EQ(Global::StatusPollInterval, QStringLiteral("5"));
    EXPECT_TRUE(Global::LogErrors);
    EXPECT_EQ(Global::UploadDwell, QStringLiteral("750"));
    EXPECT_TRUE(frame().mnuBarGraphTemp->isChecked());
    EXPECT_FALSE(frame().mnuBarGraphPress->isChecked());
    EXPECT_TRUE(frame().mnuBarGraph4Places->isChecked());
    EXPECT_TRUE(dialog().chkHSS->isChecked());
    EXPECT_EQ(dialog().txtHssFileName->text(), QStringLiteral("C:\\runs\\wing a.csv"));
    EXPECT_EQ(dialog().hssUdpPort(), 5005);

    Global::SaveSettings();
    EXPECT_EQ(SettingsSandbox::stored("HssFileName"), QStringLiteral("C:\\runs\\wing a.csv"));
    EXPECT_EQ(SettingsSandbox::stored("BarGraph4Places"), QStringLiteral("True"));
    EXPECT_EQ(SettingsSandbox::stored("LogErrors"), QStringLiteral("True"));
}

TEST(SettingsStore, OnlyTheExactTextTrueCountsAsTrue) {
    SettingsSandbox sandbox;
    SettingsSandbox::store({{"LogScanData", "TRUE"},
                            {"LogErrors", " True"},
                            {"LogOutgoing", "1"},
                            {"Pressure", "yes"},
                            {"HssEnabled", "true"},
                            {"LogListData", "True"}});
    Global::LoadSettings();
    EXPECT_FALSE(Global::LogScanData);
    EXPECT_FALSE(Global::LogErrors);
    EXPECT_FALSE(Global::LogOutgoing);
    EXPECT_FALSE(frame().mnuBarGraphPress->isChecked());
    EXPECT_FALSE(dialog().chkHSS->isChecked());
    EXPECT_TRUE(Global::LogListData);
}

TEST(SettingsStore, ThePollOptionPairIsReadKeyByKey) {
    // Both true: the later key wins; both false: neither is selected, and both stay false.
    for (const char* both : {"True", "False"}) {
        SettingsSandbox sandbox;
        SettingsSandbox::store({{"StatusPollAlways", both}, {"StatusPollOff", both}});
        Global::LoadSettings();
        const bool on = QLatin1String(both) == QLatin1String("True");
        EXPECT_FALSE(dialog().optStatusPollAlways->isChecked()) << both;
        EXPECT_EQ(dialog().optStatusPollOff->isChecked(), on) << both;
        EXPECT_FALSE(Global::StatusPollAlways) << both;
        EXPECT_EQ(Global::StatusPollOff, on) << both;
        Global::SaveSettings();
        EXPECT_EQ(SettingsSandbox::stored("StatusPollAlways"), QStringLiteral("False"));
        EXPECT_EQ(SettingsSandbox::stored("StatusPollOff"), QLatin1String(both));
    }
}

TEST(SettingsStore, ShutDownWritesTheAppliedStateNotUnappliedEdits) {
    SettingsSandbox sandbox;
    Global::LoadSettings();
    // Edits left in the dialog without pressing Close.
    dialog().chkErrors->setChecked(true);
    dialog().medStatusPollInterval->setText(QStringLiteral("7"));
    SetOptionButton(dialog().optStatusPollOff, true);
    dialog().medUploadDwell->setText(QStringLiteral("999"));
    Global::SaveSettings();
    EXPECT_EQ(SettingsSandbox::stored("LogErrors"), QStringLiteral("False"));
    EXPECT_EQ(SettingsSandbox::stored("StatusPollInterval"), QStringLiteral("2"));
    EXPECT_EQ(SettingsSandbox::stored("StatusPollAlways"), QStringLiteral("True"));
    EXPECT_EQ(SettingsSandbox::stored("StatusPollOff"), QStringLiteral("False"));
    EXPECT_EQ(SettingsSandbox::stored("UploadDwell"), QStringLiteral("300"));

    // Shown again, the applied texts are trimmed.
    Global::UploadDwell = QStringLiteral(" 45 ");
    Global::SettingsToDialog();
    EXPECT_EQ(dialog().medUploadDwell->text(), QStringLiteral("45"));
}

TEST(SettingsStore, CloseBoxKeepsTheHighSpeedSettings) {
    SettingsSandbox sandbox;
    Global::LoadSettings();
    dialog().show();
    dialog().chkHSS->setChecked(true);
    dialog().txtHssFileName->setText(QStringLiteral("capture.csv"));
    dialog().txtHssUdpPort->setText(QStringLiteral("6000"));
    dialog().chkListData->setChecked(true);
    dialog().close(); // the window's close box

    ASSERT_TRUE(FormInstance<LinkConfig>::isLoaded());
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_TRUE(Global::LogListData); // applied like Close
    Global::SaveSettings();
    EXPECT_EQ(SettingsSandbox::stored("HssEnabled"), QStringLiteral("True"));
    EXPECT_EQ(SettingsSandbox::stored("HssFileName"), QStringLiteral("capture.csv"));
    EXPECT_EQ(SettingsSandbox::stored("HssUdpPort"), QStringLiteral("6000"));
    EXPECT_EQ(SettingsSandbox::stored("LogListData"), QStringLiteral("True"));
}

TEST(SettingsStore, UnusableUdpPortFallsBackToTheDefault) {
    SettingsSandbox sandbox;
    for (const char* text : {"", "0", "65536", "abc", "-5"}) {
        dialog().txtHssUdpPort->setText(QLatin1String(text));
        EXPECT_EQ(dialog().hssUdpPort(), LinkConfig::DefaultHssUdpPort) << text;
    }
    dialog().txtHssUdpPort->setText(QStringLiteral("65535"));
    EXPECT_EQ(dialog().hssUdpPort(), 65535);
}

TEST(DisplayFormat, FirstCheckedPlacesWinWithEngineeringUnitsWholeNumbersWithout) {
    using SettingsStore::DisplayFormatFor;
    EXPECT_EQ(DisplayFormatFor({true, false, false, false, false, false}, true), "0");
    EXPECT_EQ(DisplayFormatFor({false, true, false, true, false, false}, true), "0.0");
    EXPECT_EQ(DisplayFormatFor({false, false, false, false, false, true}, true), "0.00000");
    EXPECT_EQ(DisplayFormatFor({}, true), "0.00"); // nothing checked means two places
    EXPECT_EQ(DisplayFormatFor({false, false, false, true, false, false}, false), "0");
}

} // namespace

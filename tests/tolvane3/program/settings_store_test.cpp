// The settings store, and the bar graph's number format.

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

// Loaded and saved again, a changed value survives: each key is read under the name it is
// written with.
TEST(SettingsStore, StoredValuesComeBackAfterARestartAndAnUnusablePortIsTheDefault) {
    SettingsSandbox sandbox;
    const std::pair<const char*, const char*> changed[] = {
        {"StatusPollInterval", "5"},  {"LogErrors", "True"},
        {"LogScanData", "False"},     {"UploadDwell", "750"},
        {"Temperature", "True"},      {"Pressure", "False"},
        {"BarGraph2Places", "False"}, {"BarGraph4Places", "True"},
        {"HssEnabled", "True"},       {"HssFileName", "C:\\runs\\wing a.csv"},
        {"HssUdpPort", "5005"},       {"AutoReconnect", "True"}};
    for (const auto& [key, text] : changed) {
        SettingsSandbox::store({{key, text}});
    }
    Global::LoadSettings();
    EXPECT_TRUE(frame().mnuBarGraph4Places->isChecked());
    EXPECT_EQ(dialog().hssUdpPort(), 5005);
    // With engineering units off the bar graph shows whole numbers.
    EXPECT_EQ(Global::DisplayFormat, "0");

    SettingsSandbox::openStore().clear();
    Global::SaveSettings();
    for (const auto& [key, text] : changed) {
        EXPECT_EQ(SettingsSandbox::stored(key), QLatin1String(text)) << key;
    }
    // An unusable port falls back to the default.
    const std::pair<const char*, int> ports[] = {{"65535", 65535}, {"", 23},    {"0", 23},
                                                 {"65536", 23},    {"abc", 23}, {"-5", 23}};
    for (const auto& [text, port] : ports) {
        dialog().txtHssUdpPort->setText(QLatin1String(text));
        EXPECT_EQ(dialog().hssUdpPort(), port) << text;
    }
}

// Off, reconnecting by itself leaves the stored settings as they were before it existed.
TEST(SettingsStore, ReconnectingOffIsNotStored) {
    SettingsSandbox sandbox;
    Global::LoadSettings();
    Global::SaveSettings();
    const QStringList keys = SettingsSandbox::openStore().allKeys();
    EXPECT_FALSE(keys.contains(QStringLiteral("Startup/AutoReconnect")));
    Global::AutoReconnect = true;
    Global::SaveSettings();
    Global::AutoReconnect = false;
    Global::SaveSettings();
    EXPECT_EQ(SettingsSandbox::openStore().allKeys(), keys);
}

// Alarm limits are stored only for channels that have some: anyone who never sets them keeps the
// settings as they were. Unreadable ones read as off.
TEST(SettingsStore, AlarmLimitsComeBackAfterARestartAndOnlyWhereSet) {
    SettingsSandbox sandbox;
    SettingsSandbox::store({{"AlarmLimit1", "True -5 12.5"},
                            {"AlarmLimit9", "False 0 300"},
                            {"AlarmLimit3", "True 5 1"}});
    Global::LoadSettings();
    EXPECT_EQ(Global::AlarmRanges[0], (Global::AlarmRange{true, -5, 12.5f}));
    EXPECT_EQ(Global::AlarmRanges[2], Global::AlarmRange{});
    Global::AlarmRanges[15] = {true, 0.25f, 1e6f};
    Global::SaveSettings();
    const std::pair<const char*, const char*> stored[] = {{"AlarmLimit1", "True -5 12.5"},
                                                          {"AlarmLimit9", "False 0 300"},
                                                          {"AlarmLimit16", "True 0.25 1000000"},
                                                          {"AlarmLimit3", "<missing>"}};
    for (const auto& [key, text] : stored) {
        EXPECT_EQ(SettingsSandbox::stored(key), QLatin1String(text)) << key;
    }
}

TEST(SettingsStore, OnlyTheExactTextTrueCountsAsTrue) {
    SettingsSandbox sandbox;
    SettingsSandbox::store({{"LogScanData", "TRUE"},
                            {"LogErrors", " True"},
                            {"LogOutgoing", "1"},
                            {"HssEnabled", "true"},
                            {"LogListData", "True"}});
    Global::LoadSettings();
    EXPECT_FALSE(Global::LogScanData || Global::LogErrors || Global::LogOutgoing ||
                 dialog().chkHSS->isChecked());
    EXPECT_TRUE(Global::LogListData);
}

TEST(SettingsStore, ShutDownWritesTheAppliedStateNotUnappliedEdits) {
    SettingsSandbox sandbox;
    Global::LoadSettings();
    // Edits left in the dialog without pressing Close.
    dialog().chkErrors->setChecked(true);
    dialog().medStatusPollInterval->setText(QStringLiteral("7"));
    SetOptionButton(dialog().optStatusPollOff, true);
    Global::SaveSettings();
    EXPECT_EQ(SettingsSandbox::stored("LogErrors"), "False");
    EXPECT_EQ(SettingsSandbox::stored("StatusPollInterval"), "2");
    EXPECT_EQ(SettingsSandbox::stored("StatusPollOff"), "False");

    // Shown again, the applied texts are trimmed.
    Global::UploadDwell = QStringLiteral(" 45 ");
    Global::SettingsToDialog();
    EXPECT_EQ(dialog().medUploadDwell->text(), "45");
}

TEST(DisplayFormat, FirstCheckedPlacesWinWithEngineeringUnitsWholeNumbersWithout) {
    using SettingsStore::DisplayFormatFor;
    EXPECT_EQ(DisplayFormatFor({false, true, false, true, false, false}, true), "0.0");
    EXPECT_EQ(DisplayFormatFor({false, false, false, false, false, true}, true), "0.00000");
    EXPECT_EQ(DisplayFormatFor({}, true), "0.00"); // nothing checked means two places
    EXPECT_EQ(DisplayFormatFor({false, false, false, true, false, false}, false), "0");
}

} // namespace

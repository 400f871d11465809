// The settings mirror: the module's SET lines into the dialog and the module-wide values.

#include "settings_sandbox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace {

void Mirror(std::initializer_list<const char*> lines) {
    for (const char* line : lines) {
        Global::ProcessVornLine(QLatin1String(line));
    }
}

VornConfig& Dialog() {
    return FormInstance<VornConfig>::instance();
}

TEST(SettingsMirror, KeysFillTheDialogAndTheModuleWideValues) {
    SettingsSandbox sandbox;
    Global::InitUnits();
    Mirror({"SET PERIOD 500", "SET AVG 2", "SET FPS 100", "SET XSCANTRIG 1", "SET EU 1", "SET ZC 0",
            "SET QPKTS 1", "SET CVTUNIT 2.5", "SET UNITSCAN  KPA", "SET UNITSCAN KPA",
            "SET PMAXL 15", "SET PMAXH 50", "SET PMINL -15", "SET PMINH -50", "SET NEGPTSL 3",
            "SET NEGPTSH 4", "SET UNKNOWN 9"});
    const std::pair<QLineEdit*, const char*> fields[] = {
        {Dialog().medPeriod, "500"}, {Dialog().medAverage, "2"},    {Dialog().medRate, "62.5"},
        {Dialog().medFps, "100"},    {Dialog().medCvtUnits, "2.5"}, {Dialog().medPMaxL, "15"},
        {Dialog().medPMaxH, "50"},   {Dialog().medPMinL, "-15"},    {Dialog().medPMinH, "-50"},
        {Dialog().medNegPtsL, "3"},  {Dialog().medNegPtsH, "4"},
    };
    for (const auto& [field, text] : fields) {
        EXPECT_EQ(field->text(), QLatin1String(text)) << field->objectName().toStdString();
    }
    EXPECT_TRUE(Dialog().chkXScanTrig->isChecked() && Dialog().chkEu->isChecked() &&
                Dialog().chkQPkts->isChecked() && Global::ExtTrigScan);
    EXPECT_FALSE(Dialog().chkZc->isChecked());
    EXPECT_EQ(Dialog().lstUnitScan->currentIndex(), 13); // "SET UNITSCAN  KPA" names ""
    EXPECT_EQ(Global::UnitScan, "KPA");
    EXPECT_EQ(Global::FramePeriod, 0.016f);
    EXPECT_EQ(Global::FramesPerScan, 100.0f);
    EXPECT_EQ(Global::CvtUnit, "2.5");

    // Values that give no scan timing leave the frame period alone; an unknown unit keeps the
    // list's selection; anything but "1" clears a box; a count beyond single precision is none.
    Mirror({"SET AVG 0", "SET AVG 40000", "SET XSCANTRIG 2", "SET UNITSCAN kpa",
            "SET FPS 1000000000000000000000000000000000000000"});
    EXPECT_EQ(Dialog().medRate->text(), "0");
    EXPECT_EQ(Global::FramePeriod, 0.016f);
    EXPECT_FALSE(Dialog().chkXScanTrig->isChecked() || Global::ExtTrigScan);
    EXPECT_EQ(Dialog().lstUnitScan->currentIndex(), 13);
    EXPECT_EQ(Global::UnitScan, "kpa");
    EXPECT_EQ(Global::FramesPerScan, 0.0f);
}

TEST(SettingsMirror, FullScalesComeFromTheBanksOrPerChannelForXx07Models) {
    SettingsSandbox sandbox;
    Mirror({"SET MODEL 1216", "SET PMAXL 15", "SET PMAXH 50"});
    EXPECT_EQ(Global::ChannelMax[7], "15");
    EXPECT_EQ(Global::ChannelMax[8], "50");

    Mirror({"SET MODEL 1207", "SET PMAXL 99", "SET MAX16 7", "SET MAX01 7"});
    EXPECT_EQ(Global::ChannelMax[0], "15");
    EXPECT_TRUE(Global::MaxSetting[1].isEmpty() && Global::MaxSetting[16].isEmpty());
    for (int channel = 0; channel < 16; ++channel) {
        Global::ProcessVornLine(QStringLiteral("SET MAX%1 %2").arg(channel).arg(channel * 10));
    }
    EXPECT_EQ(Global::ChannelMax[0], "0");
    EXPECT_EQ(Global::ChannelMax[15], "150");
    EXPECT_EQ(Global::PMaxLow, "99");
}

} // namespace

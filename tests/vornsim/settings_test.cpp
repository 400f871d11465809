// The module's settings: numbers as the module reads them, and what the model text decides.

#include "vornsim/modulesettings.h"

#include <gtest/gtest.h>
#include <set>

using vornsim::ModuleSettings;

TEST(ModuleSettings, NumbersAreTheLeadingDecimalNumberOrZero) {
    ModuleSettings settings("1216");
    const std::pair<QByteArray, double> cases[] = {
        {"250", 250.0}, {"12.5abc", 12.5}, {"-3.25", -3.25}, {"abc", 0.0},
        {"", 0.0},      {" 7 8", 7.0},     {"1.2.3", 1.2}};
    for (const auto& [text, number] : cases) {
        settings.set("PMAXL", text);
        EXPECT_DOUBLE_EQ(settings.number("PMAXL"), number) << text.toStdString();
    }
}

TEST(ModuleSettings, ModelChoosesStatusFormAndFullScaleSource) {
    ModuleSettings bank("1216");
    ModuleSettings perChannel("1207");
    for (ModuleSettings* settings : {&bank, &perChannel}) {
        settings->set("PMAXL", "5");
        settings->set("MAX3", "99");
    }
    EXPECT_DOUBLE_EQ(bank.fullScale(3), 5.0);
    EXPECT_DOUBLE_EQ(bank.fullScale(8), 50.0);
    EXPECT_DOUBLE_EQ(perChannel.fullScale(3), 99.0);
    EXPECT_FALSE(bank.model30() || ModuleSettings("1230").model30());
    // Out of the box an "07" module has a different range on every channel, others two banks.
    std::set<double> own;
    std::set<double> banks;
    for (int channel = 0; channel < 16; ++channel) {
        own.insert(ModuleSettings("3107").fullScale(channel));
        banks.insert(ModuleSettings("3016").fullScale(channel));
    }
    EXPECT_EQ(own.size(), 16U);
    EXPECT_EQ(banks.size(), 2U);
}

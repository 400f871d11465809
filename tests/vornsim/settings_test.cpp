// The module's settings: numbers and model-dependent status form and full scales.

#include "vornsim/modulesettings.h"

#include <gtest/gtest.h>

using vornsim::ModuleSettings;

TEST(ModuleSettings, NumbersAreTheLeadingDecimalNumberOrZero) {
    ModuleSettings settings("1216");
    const std::pair<QByteArray, double> cases[] = {
        {"250", 250.0}, {"12.5abc", 12.5}, {"-3.25", -3.25}, {"abc", 0.0},
        {"", 0.0},      {" 7 8", 7.0},     {"1.2.3", 1.2}};
    for (const auto& [text, number] : cases) {
        settings.set("PERIOD", text);
        EXPECT_DOUBLE_EQ(settings.number("PERIOD"), number) << text.toStdString();
    }
}

TEST(ModuleSettings, ModelSelectsStatusFormAndFullScaleSource) {
    ModuleSettings bank("1216");
    EXPECT_FALSE(bank.model30());
    bank.set("PMAXL", "5");
    bank.set("MAX3", "99");
    EXPECT_DOUBLE_EQ(bank.fullScale(3), 5.0);
    EXPECT_DOUBLE_EQ(bank.fullScale(8), 50.0);

    ModuleSettings perChannel("1207");
    perChannel.set("MAX3", "99");
    EXPECT_DOUBLE_EQ(perChannel.fullScale(3), 99.0);

    EXPECT_TRUE(ModuleSettings("3099").model30());
    EXPECT_FALSE(ModuleSettings("1230").model30());
}

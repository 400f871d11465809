// The module's settings: group contents and order, SET rules, numbers, model-dependent scales.

#include "vornsim/modulesettings.h"

#include <gtest/gtest.h>

using vornsim::ModuleSettings;

TEST(ModuleSettings, EachGroupEndsWithTheKeyClientsWaitFor) {
    const ModuleSettings settings("1216");
    const std::pair<char, QByteArray> lastLines[] = {{'I', "SET PAGE 0"},
                                                     {'C', "SET NEGPTSH 4"},
                                                     {'H', "SET MAX15 50"},
                                                     {'S', "SET HOST 0 0 T"}};
    for (const auto& [letter, last] : lastLines) {
        const auto lines = settings.listGroup(letter);
        ASSERT_TRUE(lines) << letter;
        EXPECT_EQ(lines->constLast(), last) << letter;
        // No group but its own ends with a last-line key.
        for (qsizetype i = 0; i + 1 < lines->size(); ++i) {
            for (const auto& [otherLetter, otherLast] : lastLines) {
                EXPECT_NE(lines->at(i).split(' ').value(1), otherLast.split(' ').value(1));
            }
        }
    }
    EXPECT_EQ(settings.listGroup('I')->constFirst(), "SET MODEL 1216");
    EXPECT_FALSE(settings.listGroup('X'));
    EXPECT_FALSE(settings.listGroup('i'));
}

TEST(ModuleSettings, SetMatchesKeysWithoutCaseAndRefusesUnknownOnes) {
    ModuleSettings settings("1216");
    EXPECT_TRUE(settings.set("host", "10.0.0.5 23 U"));
    EXPECT_EQ(settings.value("HOST"), "10.0.0.5 23 U");
    EXPECT_EQ(settings.listGroup('S')->constLast(), "SET HOST 10.0.0.5 23 U");
    EXPECT_FALSE(settings.set("NOSUCHKEY", "1"));
    EXPECT_EQ(settings.value("NOSUCHKEY"), "");
}

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

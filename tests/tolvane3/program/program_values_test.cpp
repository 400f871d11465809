// Leading numbers, the unit table, and the shutdown signals.

#include "program/shutdownsignals.h"
#include "settings_sandbox.h"

#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

namespace {

TEST(LeadingNumber, TakesTheLeadingDecimalNumberOrZero) {
    const std::pair<const char*, double> cases[] = {
        {" 12abc", 12}, {"-2.5 psi", -2.5}, {".5", 0.5}, {"7.", 7}, {"1,5", 1}, {"", 0}, {"-", 0}};
    for (const auto& [text, number] : cases) {
        EXPECT_EQ(Global::LeadingNumber(QString::fromLatin1(text)), number) << text;
    }
}

TEST(Units, LookupIsExactAfterTrimmingAndSurvivesASecondInitialisation) {
    SettingsSandbox sandbox; // unloads the windows the units fill
    Global::InitUnits();
    Global::InitUnits();
    EXPECT_EQ(Global::FindUnitCode(QStringLiteral(" KPA ")), 13);
    EXPECT_EQ(Global::FindUnitCode(QStringLiteral("kpa")), -1);
    EXPECT_EQ(Global::FindUnitCode(QString()), -1);
}

TEST(ShutdownSignals, EachSignalBecomesACallInTheEventLoop) {
    int calls = 0;
    const ShutdownSignals watcher([&] { ++calls; });
    for (const int signalNumber : {SIGTERM, SIGINT}) {
        const int before = calls;
        ASSERT_EQ(std::raise(signalNumber), 0);
        EXPECT_EQ(calls, before); // nothing runs inside the signal handler itself
        EXPECT_TRUE(QTest::qWaitFor([&] { return calls == before + 1; }));
    }
}

} // namespace

// Leading numbers of module texts, the unit table, and SIGINT and SIGTERM reaching the GUI thread
// as a call instead of ending the process outright.

#include "mainwindow/MDIMain.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/shutdownsignals.h"
#include "scanconfig/VornConfig.h"

#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

namespace {

TEST(LeadingNumber, TakesTheLeadingDecimalNumberOrZero) {
    EXPECT_EQ(Global::LeadingNumber(u" 12abc"), 12);
    EXPECT_EQ(Global::LeadingNumber(u"-2.5 psi"), -2.5);
    EXPECT_EQ(Global::LeadingNumber(u".5"), 0.5);
    EXPECT_EQ(Global::LeadingNumber(u"7."), 7);
    EXPECT_EQ(Global::LeadingNumber(u"1,5"), 1);
    EXPECT_EQ(Global::LeadingNumber(u""), 0);
    EXPECT_EQ(Global::LeadingNumber(u"-"), 0);
}

TEST(Units, LookupIsExactAfterTrimmingAndSurvivesASecondInitialisation) {
    Global::InitUnits();
    Global::InitUnits();
    EXPECT_EQ(Global::FindUnitCode(QStringLiteral(" KPA ")), 13);
    EXPECT_EQ(Global::FindUnitCode(QStringLiteral("kpa")), -1);
    EXPECT_EQ(Global::FindUnitCode(QString()), -1);
    FormInstance<VornConfig>::unload();
    FormInstance<MDIMain>::unload();
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

// SIGINT and SIGTERM reach the GUI thread as a call, instead of ending the process outright.

#include "program/shutdownsignals.h"

#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

namespace {

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

// vornsim as a process: its address line, clean ends on SIGTERM and SIGINT, refusals.

#include "simulatorprocess.h"

#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

TEST(Process, PrintsOnlyItsAddressAndExitsZeroOnSigtermAndSigint) {
    for (const int signal : {SIGTERM, SIGINT}) {
        SimulatorProcess simulator;
        // start() takes the port from the one line "127.0.0.1:PORT" and nothing else.
        ASSERT_NE(simulator.start(), 0) << simulator.process().readAllStandardError().toStdString();
        EXPECT_TRUE(simulator.stopWith(signal)) << "signal " << signal;
        EXPECT_EQ(simulator.process().readAllStandardOutput(), "");
    }
}

TEST(Process, BadOptionsExitTwoABusyPortOrABadStateFileOneWithTheReasonOnStandardError) {
    SimulatorProcess running;
    ASSERT_NE(running.start(), 0);
    QTemporaryDir dir;
    const QString state = dir.filePath(QStringLiteral("module.state"));
    QFile file(state);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("SET FPS 3\nset unitscan foo\r\n") &&
                file.flush());
    const QString busy = running.address();
    const std::tuple<int, QByteArray, QStringList> cases[] = {
        {2, "--listen ADDR:PORT is required\n", {}},
        {1, "vornsim: Cannot listen on " + busy.toLatin1() + ": ", {"--listen", busy}},
        {1,
         "vornsim: Bad state file " + state.toLatin1() + ", line 2: ERROR: Invalid unit\n",
         {"--listen", "127.0.0.1:0", "--state", state}}};
    for (const auto& [exitCode, reason, arguments] : cases) {
        QProcess process;
        process.start(SimulatorProcess::programPath(), arguments);
        ASSERT_TRUE(process.waitForFinished(SimulatorProcess::WaitMs)) << reason.toStdString();
        EXPECT_EQ(process.exitCode(), exitCode) << reason.toStdString();
        EXPECT_EQ(process.readAllStandardOutput(), "");
        EXPECT_TRUE(process.readAllStandardError().startsWith(reason)) << reason.toStdString();
    }
    EXPECT_TRUE(running.stopWith(SIGTERM));
}

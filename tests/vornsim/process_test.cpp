// vornsim as a process: its address line, clean ends on SIGTERM and SIGINT, refusals.

#include "simulatorprocess.h"

#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

TEST(Process, PrintsOnlyItsAddressExitsZeroOnSignalsAndRefusesWithTheReasonOnStandardError) {
    QTemporaryDir dir;
    const QString state = dir.filePath(QStringLiteral("module.state"));
    QFile file(state);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("SET FPS 3\nset unitscan foo\r\n") &&
                file.flush());
    for (const int signal : {SIGTERM, SIGINT}) {
        SimulatorProcess running;
        // start() takes the port from the one line "127.0.0.1:PORT" and nothing else.
        ASSERT_NE(running.start(), 0) << running.process().readAllStandardError().toStdString();
        const QString busy = running.address();
        // Bad options exit 2, a busy port or a bad state file 1.
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
        EXPECT_TRUE(running.stopWith(signal)) << "signal " << signal;
        EXPECT_EQ(running.process().readAllStandardOutput(), "");
    }
}

// vornsim as a process: the address line, clean ends on SIGTERM and SIGINT, refusals.

#include "simulatorprocess.h"

#include <QTcpSocket>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

TEST(Process, PrintsItsAddressServesAClientAndExitsZeroOnSigtermAndSigint) {
    for (const int signal : {SIGTERM, SIGINT}) {
        SimulatorProcess simulator;
        // start() takes the port from the one line "127.0.0.1:PORT" and nothing else.
        const quint16 port = simulator.start({QStringLiteral("--model"), QStringLiteral("3016")});
        ASSERT_NE(port, 0) << simulator.process().readAllStandardError().toStdString();
        QTcpSocket client;
        client.connectToHost(QHostAddress(QHostAddress::LocalHost), port);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return client.canReadLine(); }, SimulatorProcess::WaitMs));
        EXPECT_EQ(client.readLine(), "Module 3016 SN 0417\r\n");
        EXPECT_TRUE(simulator.stopWith(signal)) << "signal " << signal;
        EXPECT_EQ(simulator.process().readAllStandardOutput(), "");
    }
}

TEST(Process, BadOptionsExitTwoAndABusyPortOneWithTheReasonOnStandardError) {
    SimulatorProcess running;
    ASSERT_NE(running.start(), 0);
    const std::tuple<QString, int, QByteArray> cases[] = {
        {QStringLiteral("nowhere"), 2, "Bad --listen address: nowhere\n"},
        {running.address(), 1, "vornsim: Cannot listen on " + running.address().toLatin1() + ": "}};
    for (const auto& [listen, exitCode, reason] : cases) {
        QProcess process;
        process.start(SimulatorProcess::programPath(), {QStringLiteral("--listen"), listen});
        ASSERT_TRUE(process.waitForFinished(SimulatorProcess::WaitMs)) << reason.toStdString();
        EXPECT_EQ(process.exitCode(), exitCode) << reason.toStdString();
        EXPECT_EQ(process.readAllStandardOutput(), "");
        EXPECT_TRUE(process.readAllStandardError().startsWith(reason)) << reason.toStdString();
    }
    EXPECT_TRUE(running.stopWith(SIGTERM));
}

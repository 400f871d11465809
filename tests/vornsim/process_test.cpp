// vornsim as a real process: the port line, a client served, clean exits, refusals.

#include "simulatorprocess.h"

#include <QProcess>
#include <QTcpSocket>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

namespace {

void expectCleanExitOn(SimulatorProcess& simulator, int signal) {
    EXPECT_TRUE(simulator.stopWith(signal));
    EXPECT_EQ(simulator.process().readAllStandardOutput(), "");
}

} // namespace

TEST(Process, PrintsItsPortServesAClientAndEndsCleanlyOnSigtermOrSigint) {
    for (const int signal : {SIGTERM, SIGINT}) {
        SimulatorProcess simulator;
        const quint16 port = simulator.start({QStringLiteral("--model"), QStringLiteral("3016")});
        ASSERT_NE(port, 0);
        QTcpSocket client;
        client.connectToHost(QHostAddress(QHostAddress::LocalHost), port);
        ASSERT_TRUE(client.waitForConnected(5000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return client.canReadLine(); }, 5000));
        EXPECT_EQ(client.readLine(), "Module 3016 SN 0417\r\n");
        expectCleanExitOn(simulator, signal);
    }
}

TEST(Process, RefusesBadOptionsWithExitCodeTwoAndNothingOnStandardOutput) {
    QProcess process;
    process.start(SimulatorProcess::programPath(),
                  {QStringLiteral("--listen"), QStringLiteral("nowhere")});
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_EQ(process.readAllStandardOutput(), "");
    EXPECT_TRUE(process.readAllStandardError().contains("nowhere"));
}

TEST(Process, APortInUseEndsWithExitCodeOneAndAReason) {
    SimulatorProcess first;
    const quint16 port = first.start();
    ASSERT_NE(port, 0);
    QProcess second;
    second.start(SimulatorProcess::programPath(),
                 {QStringLiteral("--listen"), QStringLiteral("127.0.0.1:%1").arg(port)});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 1);
    EXPECT_EQ(second.readAllStandardOutput(), "");
    EXPECT_TRUE(second.readAllStandardError().startsWith("vornsim: Cannot listen on 127.0.0.1:"));
    expectCleanExitOn(first, SIGTERM);
}

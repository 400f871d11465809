// vornsim as a real process: the port line, a conversation, the transcript, clean exits.

#include "simulatorprocess.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

namespace {

void expectCleanExitOn(SimulatorProcess& simulator, int signal) {
    EXPECT_TRUE(simulator.stopWith(signal));
    EXPECT_EQ(simulator.process().readAllStandardOutput(), "");
}

} // namespace

TEST(Process, PrintsItsPortServesAClientWritesTheTranscriptAndEndsOnSigterm) {
    QTemporaryDir dir;
    const QString transcriptPath = dir.filePath(QStringLiteral("transcript.txt"));
    SimulatorProcess simulator;
    const quint16 port = simulator.start({QStringLiteral("--transcript"), transcriptPath});
    ASSERT_NE(port, 0);

    QTcpSocket client;
    client.connectToHost(QHostAddress(QHostAddress::LocalHost), port);
    ASSERT_TRUE(client.waitForConnected(5000));
    client.write("STATUS\r");
    QByteArray reply;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            reply += client.readAll();
            return reply.size() >= 15;
        },
        5000));
    EXPECT_EQ(reply, "STATUS: READY\r\n");
    client.disconnectFromHost();
    const QByteArray conversation = "RX 7\nSTATUS\r\nTX 15\nSTATUS: READY\r\n\n# disconnected\n";
    QByteArray transcript;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            QFile file(transcriptPath);
            transcript = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            return transcript.endsWith(conversation);
        },
        5000))
        << transcript.toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^# connected 127\\.0\\.0\\.1:\\d+\\n$"))
                    .match(QString::fromLatin1(transcript.chopped(conversation.size())))
                    .hasMatch())
        << transcript.toStdString();

    expectCleanExitOn(simulator, SIGTERM);
}

TEST(Process, EndsCleanlyOnSigintWithAClientConnected) {
    SimulatorProcess simulator;
    const quint16 port = simulator.start({QStringLiteral("--model"), QStringLiteral("3016")});
    ASSERT_NE(port, 0);
    QTcpSocket client;
    client.connectToHost(QHostAddress(QHostAddress::LocalHost), port);
    ASSERT_TRUE(client.waitForConnected(5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.canReadLine(); }, 5000));
    EXPECT_EQ(client.readLine(), "Module 3016 SN 0417\r\n");
    expectCleanExitOn(simulator, SIGINT);
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

// vornsim as a real process: the port line, a conversation, the transcript, clean exits.

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

QString simulatorPath() {
    return QDir(qEnvironmentVariable("VORN_BIN_DIR")).filePath(QStringLiteral("vornsim"));
}

// Starts vornsim and returns the port from its one line of output (0 on failure).
quint16 startSimulator(QProcess& process, const QStringList& extra = {}) {
    process.start(simulatorPath(),
                  QStringList{QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0")} + extra);
    if (!process.waitForStarted(5000)) {
        return 0;
    }
    if (!QTest::qWaitFor([&] { return process.canReadLine(); }, 10000)) {
        return 0;
    }
    const QString line = QString::fromLatin1(process.readLine());
    const auto match =
        QRegularExpression(QStringLiteral("^127\\.0\\.0\\.1:(\\d+)\\n$")).match(line);
    EXPECT_TRUE(match.hasMatch()) << line.toStdString();
    return static_cast<quint16>(match.captured(1).toUInt());
}

void expectCleanExitOn(QProcess& process, int signal) {
    ::kill(static_cast<pid_t>(process.processId()), signal);
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(process.readAllStandardOutput(), "");
}

} // namespace

TEST(Process, PrintsItsPortServesAClientWritesTheTranscriptAndEndsOnSigterm) {
    QTemporaryDir dir;
    const QString transcriptPath = dir.filePath(QStringLiteral("transcript.txt"));
    QProcess process;
    const quint16 port = startSimulator(process, {QStringLiteral("--transcript"), transcriptPath});
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

    expectCleanExitOn(process, SIGTERM);
}

TEST(Process, EndsCleanlyOnSigintWithAClientConnected) {
    QProcess process;
    const quint16 port =
        startSimulator(process, {QStringLiteral("--model"), QStringLiteral("3016")});
    ASSERT_NE(port, 0);
    QTcpSocket client;
    client.connectToHost(QHostAddress(QHostAddress::LocalHost), port);
    ASSERT_TRUE(client.waitForConnected(5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.canReadLine(); }, 5000));
    EXPECT_EQ(client.readLine(), "Module 3016 SN 0417\r\n");
    expectCleanExitOn(process, SIGINT);
}

TEST(Process, RefusesBadOptionsWithExitCodeTwoAndNothingOnStandardOutput) {
    QProcess process;
    process.start(simulatorPath(), {QStringLiteral("--listen"), QStringLiteral("nowhere")});
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_EQ(process.readAllStandardOutput(), "");
    EXPECT_TRUE(process.readAllStandardError().contains("nowhere"));
}

TEST(Process, APortInUseEndsWithExitCodeOneAndAReason) {
    QProcess first;
    const quint16 port = startSimulator(first);
    ASSERT_NE(port, 0);
    QProcess second;
    second.start(simulatorPath(),
                 {QStringLiteral("--listen"), QStringLiteral("127.0.0.1:%1").arg(port)});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 1);
    EXPECT_EQ(second.readAllStandardOutput(), "");
    EXPECT_TRUE(second.readAllStandardError().startsWith("vornsim: Cannot listen on 127.0.0.1:"));
    expectCleanExitOn(first, SIGTERM);
}

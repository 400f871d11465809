#include "simulatorprocess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <csignal>

SimulatorProcess::~SimulatorProcess() {
    process_.kill(); // nothing to do when the test stopped it
    process_.waitForFinished(WaitMs);
}

QString SimulatorProcess::programPath() {
    const QString binaries =
        qEnvironmentVariable("VORN_BIN_DIR", QCoreApplication::applicationDirPath());
    return QDir(binaries).filePath(QStringLiteral("vornsim"));
}

quint16 SimulatorProcess::start(const QStringList& presets, QStringList options) {
    for (const QString& preset : presets) {
        options << QStringLiteral("--set") << preset;
    }
    process_.start(programPath(),
                   QStringList{QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0")} +
                       options);
    if (!process_.waitForStarted(WaitMs) ||
        !QTest::qWaitFor([this] { return process_.canReadLine(); }, WaitMs)) {
        return 0;
    }
    static const QRegularExpression portLine(QStringLiteral("^127\\.0\\.0\\.1:(\\d+)\\n$"));
    const auto match = portLine.match(QString::fromLatin1(process_.readLine()));
    port_ = match.hasMatch() ? static_cast<quint16>(match.captured(1).toUInt()) : 0;
    return port_;
}

QString SimulatorProcess::address() const {
    return QStringLiteral("127.0.0.1:%1").arg(port_);
}

bool SimulatorProcess::stopWith(int signalNumber) {
    ::kill(static_cast<pid_t>(process_.processId()), signalNumber);
    return process_.waitForFinished(WaitMs) && process_.exitStatus() == QProcess::NormalExit &&
           process_.exitCode() == 0;
}

QByteArray SimulatorProcess::receivedInTranscript(const QString& transcriptPath) {
    // Records are "RX n\n" or "TX n\n", n bytes and "\n"; notes are lines beginning "# ".
    QFile file(transcriptPath);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QByteArray received;
    while (!file.atEnd()) {
        const QByteArray header = file.readLine();
        if (header.startsWith("RX ") || header.startsWith("TX ")) {
            const QByteArray record = file.read(header.mid(3).trimmed().toLongLong() + 1);
            received += header.startsWith("RX ") ? record.left(record.size() - 1) : QByteArray();
        }
    }
    return received;
}

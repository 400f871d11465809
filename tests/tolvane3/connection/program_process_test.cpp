// tolvane3 as a real process: --connect connects at start-up, and SIGTERM / SIGINT run the normal
// shut-down sequence (history and settings saved).

#include "fakemodule.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

namespace {

constexpr int ProcessWaitMs = 30000;

class ProgramProcess : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), dir.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configDir());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(dir.path());
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }
    void TearDown() override {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
    }

    void start(const QStringList& arguments) {
        program.start(qEnvironmentVariable("VORN_BIN_DIR") + QStringLiteral("/tolvane3"),
                      arguments);
        ASSERT_TRUE(program.waitForStarted(ProcessWaitMs));
    }
    // Sends the signal and expects a clean exit.
    void stopWith(int signalNumber) {
        ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), signalNumber), 0);
        ASSERT_TRUE(program.waitForFinished(ProcessWaitMs));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
    }
    QString configDir() const { return dir.filePath(QStringLiteral("config")); }
    QByteArray history() const {
        QFile file(dir.filePath(QStringLiteral("IpHist.cfg")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QString storedSetting(const char* key) const {
        const QSettings store(QDir(configDir()).filePath(QStringLiteral("TolvaneXp.conf")),
                              QSettings::IniFormat);
        return store
            .value(QStringLiteral("Startup/") + QLatin1String(key), QStringLiteral("<missing>"))
            .toString();
    }

    QTemporaryDir dir;
    QProcess program;
};

const QByteArray TenEmptyLines = QByteArray("\r\n").repeated(10);

TEST_F(ProgramProcess, ConnectOptionConnectsAndSigtermSavesHistoryAndSettings) {
    FakeModule module;
    start({QStringLiteral("--connect"), module.address()});
    const QByteArray expected = "SET BIN 0\rSET FORMAT 0\rList I\r";
    ASSERT_TRUE(module.waitForBytes(expected.size(), ProcessWaitMs));
    EXPECT_EQ(module.received(), expected);

    stopWith(SIGTERM);
    EXPECT_EQ(history(), module.address().toLatin1() + "\r\n" + TenEmptyLines);
    EXPECT_EQ(storedSetting("StatusPollInterval"), QStringLiteral("2"));
    EXPECT_EQ(storedSetting("StatusPollAlways"), QStringLiteral("True"));
}

TEST_F(ProgramProcess, SigintAlsoRunsTheShutDownSequence) {
    FakeModule module;
    module.setReply("List I", "SET MODEL 1216\r\nSET PAGE 0\r\n");
    start({QStringLiteral("--connect"), module.address()});
    ASSERT_TRUE(module.waitForCommandCount("List C", 1, ProcessWaitMs));
    stopWith(SIGINT);
    EXPECT_EQ(history(), module.address().toLatin1() + "\r\n" + TenEmptyLines);
    EXPECT_EQ(storedSetting("LogScanData"), QStringLiteral("True"));
}

} // namespace

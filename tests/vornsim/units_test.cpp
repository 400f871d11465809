// What vornsim decides before any socket: commands cut from the client's bytes, the command
// line and its refusals, what the model text decides, the state file.

#include "vornsim/commandframer.h"
#include "vornsim/modulesettings.h"
#include "vornsim/modulestate.h"
#include "vornsim/simconfig.h"
#include "vornsim/simconstants.h"
#include "vornsim/statefile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <set>

using vornsim::ModuleSettings;

TEST(CommandFramer, EndsCommandsAtCrLfOrCrLfWhateverTheChunksAndBoundsAnOverlongOne) {
    vornsim::CommandFramer framer;
    EXPECT_EQ(framer.feed("A\rB\nC\r\nD\r\rE"), (QList<QByteArray>{"A", "B", "C", "D", ""}));
    EXPECT_EQ(framer.feed("F\n"), (QList<QByteArray>{"EF"}));
    // CR and LF split across chunks end one command.
    EXPECT_EQ(framer.feed("STATUS\r"), (QList<QByteArray>{"STATUS"}));
    // NUL and 8-bit bytes are kept.
    EXPECT_EQ(framer.feed(QByteArray("\nS\0\xff\r", 5)),
              (QList<QByteArray>{QByteArray("S\0\xff", 3)}));
    const QByteArray flood(3 * vornsim::kMaxCommandBytes, 'x');
    EXPECT_TRUE(framer.feed(flood).isEmpty());
    EXPECT_TRUE(framer.feed(flood).isEmpty());
    EXPECT_EQ(framer.feed("\rnext\r"),
              (QList<QByteArray>{QByteArray(vornsim::kMaxCommandBytes, 'x'), "next"}));
}

TEST(CommandLine, ListenAddressIsPrintedBackInOneFormAndOptionsAreRefusedWithTheReason) {
    const auto listen = vornsim::parseListenAddress(QStringLiteral("[::1]:2323"));
    ASSERT_TRUE(listen);
    EXPECT_EQ(vornsim::formatListenAddress(listen->first, listen->second), "[::1]:2323");
    const auto refusal = [](const QString& options) {
        const auto parsed =
            vornsim::parseArguments(("vornsim --listen 127.0.0.1:0 " + options).split(u' '));
        EXPECT_FALSE(parsed.config) << options.toStdString();
        return parsed.message;
    };
    for (const char* bad : {"127.0.0.1", "127.0.0.1:", ":23", "127.0.0.1:65536", "host:23",
                            "127.0.0.1:-1", "127.0.0.1:2x"}) {
        EXPECT_EQ(refusal(QString("--listen ") + bad), QString("Bad --listen address: ") + bad);
    }
    // A bad value is named with its option; a preset is refused as its SET would be.
    for (const char* options :
         {"--close-after 0", "--split-at 3,x", "--split-delay -1", "--garbage lots",
          "--garbage-bytes 0", "--seed x", "--frame-type ABC", "--frame-type PXT --channels 513",
          "--reboot-ms -1", "--set FPS=10 --set FPS=ten", "--set UNITSCAN=FOO", "--set NOSUCHKEY=1",
          "--set FPS", "--set FPS=", "--fixed-values 1,2,3", "--fixed-values ,2",
          "--omit-channel 16"}) {
        const QStringList words = QString::fromLatin1(options).split(u' ');
        EXPECT_EQ(refusal(QString::fromLatin1(options)),
                  "Bad " + words[words.size() - 2] + ": " + words.last());
    }
    for (const auto& [options, reason] :
         {std::pair{"--drop 1,-1", "Bad frame number list in --drop or --repeat"},
          {"--frame-type HKQ --channels 24", "HKQ frames cannot carry 24 channels"},
          {"--channels 32", "VORN frames cannot carry 32 channels"},
          {"extra", "Unexpected argument: extra"}}) {
        EXPECT_EQ(refusal(QString::fromLatin1(options)), reason);
    }
}

TEST(ModuleSettings, ModelChoosesStatusFormAndFullScaleSourceReadAsItsLeadingNumber) {
    ModuleSettings bank("1216");
    ModuleSettings perChannel("1207");
    bank.set("PMAXL", "12.5abc");
    perChannel.set("MAX3", " 7 8");
    EXPECT_DOUBLE_EQ(bank.fullScale(3), 12.5);
    EXPECT_DOUBLE_EQ(perChannel.fullScale(3), 7.0);
    EXPECT_FALSE(bank.model30() || ModuleSettings("1230").model30());
    // Out of the box an "07" module has a different range on every channel.
    std::set<double> own;
    for (int channel = 0; channel < 16; ++channel) {
        own.insert(ModuleSettings("3107").fullScale(channel));
    }
    EXPECT_EQ(own.size(), 16U);
}

TEST(StateFile, KeepsSettingsSensorTablesAndPointsAndRefusesALineTheModuleWouldRefuse) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("module.state"));
    vornsim::ModuleState state("1216");
    EXPECT_EQ(state.settings.set("temp", "3 gain 1.25") + state.settings.set("ABS4", "1"), "");
    EXPECT_EQ(state.points.insert({"7", "3", "1.5", "-2"}, vornsim::kPointRows), "");
    ASSERT_EQ(vornsim::writeStateFile(path, state), "");
    vornsim::ModuleState read("1216");
    EXPECT_EQ(vornsim::readStateFile(path, read), "");
    EXPECT_EQ(vornsim::stateFileLines(read), vornsim::stateFileLines(state));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    EXPECT_TRUE(file.readAll().endsWith("SET HOST 0 0 T\r\nINSERT 7 3 1.5 -2\r\n"));
    ASSERT_TRUE(file.resize(0) && file.write("INSERT 7 3 1 1\nINSERT 70 3 1 1\n") && file.flush());
    EXPECT_EQ(vornsim::readStateFile(path, read),
              "Bad state file " + path + ", line 2: ERROR: Invalid row");
}

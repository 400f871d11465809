// The command line: addresses, fault and high-speed options, refusals.

#include "vornsim/simconfig.h"

#include <gtest/gtest.h>

using vornsim::parseArguments;

namespace {

vornsim::ParsedArguments parse(const QStringList& options) {
    return parseArguments(QStringList{QStringLiteral("vornsim")} + options);
}

} // namespace

TEST(CommandLine, ListenTakesIpv4Ipv6AndLocalhostWithAPort) {
    const auto v4 = vornsim::parseListenAddress(QStringLiteral("127.0.0.1:0"));
    ASSERT_TRUE(v4);
    EXPECT_EQ(v4->first, QHostAddress(QHostAddress::LocalHost));
    EXPECT_EQ(v4->second, 0);
    const auto v6 = vornsim::parseListenAddress(QStringLiteral("[::1]:2323"));
    ASSERT_TRUE(v6);
    EXPECT_EQ(v6->first, QHostAddress(QHostAddress::LocalHostIPv6));
    EXPECT_EQ(v6->second, 2323);
    EXPECT_TRUE(vornsim::parseListenAddress(QStringLiteral("localhost:23")));
    for (const char* bad : {"127.0.0.1", "127.0.0.1:", ":23", "127.0.0.1:65536", "host:23",
                            "127.0.0.1:-1", "127.0.0.1:2x"}) {
        EXPECT_FALSE(vornsim::parseListenAddress(QString::fromLatin1(bad))) << bad;
    }
    EXPECT_EQ(vornsim::formatListenAddress(QHostAddress(QHostAddress::LocalHostIPv6), 5),
              QStringLiteral("[::1]:5"));
    EXPECT_EQ(vornsim::formatListenAddress(QHostAddress(QHostAddress::LocalHost), 2323),
              QStringLiteral("127.0.0.1:2323"));
}

TEST(CommandLine, FaultAndHighSpeedOptionsAreRead) {
    const auto parsed = parse(QStringLiteral("--listen 127.0.0.1:0 --model 3099 --seed 9 "
                                             "--silent-group hs --close-after 4 --split-at 5,2 "
                                             "--split-delay 0 --garbage long --garbage-bytes 70000 "
                                             "--burst --drop 1,7 --repeat 3 --frame-type hkq "
                                             "--channels 64")
                                  .split(u' '));
    ASSERT_TRUE(parsed.config) << parsed.message.toStdString();
    const vornsim::SimConfig& config = *parsed.config;
    EXPECT_EQ(config.model, "3099");
    EXPECT_EQ(config.seed, 9u);
    EXPECT_EQ(config.faults.silentGroups, "HS");
    EXPECT_EQ(config.faults.closeAfterLines, 4);
    EXPECT_EQ(config.faults.splitPositions, (QList<int>{5, 2}));
    EXPECT_EQ(config.faults.splitDelayMs, 0);
    EXPECT_EQ(config.faults.garbage, vornsim::GarbageKind::LongLine);
    EXPECT_EQ(config.faults.garbageBytes, 70000);
    EXPECT_TRUE(config.highSpeed.burst);
    EXPECT_EQ(config.highSpeed.dropFrames, (QSet<quint32>{1, 7}));
    EXPECT_EQ(config.highSpeed.repeatFrames, (QSet<quint32>{3}));
    EXPECT_EQ(config.highSpeed.frameType, vornsim::FrameType::Hkq);
    EXPECT_EQ(config.highSpeed.channels, 64);
}

TEST(CommandLine, RefusesWhatCannotWorkWithAReason) {
    const char* refused[] = {
        "",
        "--listen nowhere",
        "--listen 127.0.0.1:0 --close-after 0",
        "--listen 127.0.0.1:0 --split-at x",
        "--listen 127.0.0.1:0 --garbage lots",
        "--listen 127.0.0.1:0 --frame-type ABC",
        "--listen 127.0.0.1:0 --frame-type HKQ --channels 24",
        "--listen 127.0.0.1:0 --channels 32",
        "--listen 127.0.0.1:0 --frame-type PXT --channels 513",
        "--listen 127.0.0.1:0 --drop -1",
        "--listen 127.0.0.1:0 --seed x",
        "--listen 127.0.0.1:0 --unknown",
        "--listen 127.0.0.1:0 extra",
    };
    for (const char* options : refused) {
        const auto parsed = parse(QString::fromLatin1(options).split(u' ', Qt::SkipEmptyParts));
        EXPECT_FALSE(parsed.config) << options;
        EXPECT_FALSE(parsed.helpRequested) << options;
        EXPECT_FALSE(parsed.message.isEmpty()) << options;
    }
    const auto help = parse({QStringLiteral("--help")});
    EXPECT_TRUE(help.helpRequested);
    EXPECT_TRUE(help.message.contains(QStringLiteral("--split-at")));
}

// The command line: the listen address, and options refused with the reason printed.

#include "vornsim/simconfig.h"

#include <gtest/gtest.h>

TEST(CommandLine, ListenTakesAnAddressAndPortAndIsPrintedBackInTheSameForm) {
    for (const auto& [text, printed] : {std::pair{"127.0.0.1:0", "127.0.0.1:0"},
                                        {"[::1]:2323", "[::1]:2323"},
                                        {"localhost:23", "127.0.0.1:23"}}) {
        const auto listen = vornsim::parseListenAddress(QString::fromLatin1(text));
        ASSERT_TRUE(listen) << text;
        EXPECT_EQ(vornsim::formatListenAddress(listen->first, listen->second), printed);
    }
    for (const char* bad : {"127.0.0.1", "127.0.0.1:", ":23", "127.0.0.1:65536", "host:23",
                            "127.0.0.1:-1", "127.0.0.1:2x"}) {
        EXPECT_FALSE(vornsim::parseListenAddress(QString::fromLatin1(bad))) << bad;
    }
}

TEST(CommandLine, RefusesWhatCannotWorkWithTheReason) {
    const std::pair<const char*, const char*> refused[] = {
        {"", "--listen ADDR:PORT is required"},
        {"--listen nowhere", "Bad --listen address: nowhere"},
        {"--listen 127.0.0.1:0 --close-after 0", "Bad --close-after: 0"},
        {"--listen 127.0.0.1:0 --split-at 3,x", "Bad --split-at: 3,x"},
        {"--listen 127.0.0.1:0 --split-delay -1", "Bad --split-delay: -1"},
        {"--listen 127.0.0.1:0 --garbage lots", "Bad --garbage: lots"},
        {"--listen 127.0.0.1:0 --garbage-bytes 0", "Bad --garbage-bytes: 0"},
        {"--listen 127.0.0.1:0 --seed x", "Bad --seed: x"},
        {"--listen 127.0.0.1:0 --drop 1,-1", "Bad frame number list in --drop or --repeat"},
        {"--listen 127.0.0.1:0 --frame-type ABC", "Bad --frame-type: ABC"},
        {"--listen 127.0.0.1:0 --frame-type PXT --channels 513", "Bad --channels: 513"},
        {"--listen 127.0.0.1:0 --frame-type HKQ --channels 24",
         "HKQ frames cannot carry 24 channels"},
        {"--listen 127.0.0.1:0 --channels 32", "VORN frames cannot carry 32 channels"},
        {"--listen 127.0.0.1:0 extra", "Unexpected argument: extra"},
        {"--listen 127.0.0.1:0 --reboot-ms -1", "Bad --reboot-ms: -1"},
        // A preset is refused as its SET would be.
        {"--listen 127.0.0.1:0 --set FPS=10 --set FPS=ten", "Bad --set: FPS=ten"},
        {"--listen 127.0.0.1:0 --set UNITSCAN=FOO", "Bad --set: UNITSCAN=FOO"},
        {"--listen 127.0.0.1:0 --set NOSUCHKEY=1", "Bad --set: NOSUCHKEY=1"},
        {"--listen 127.0.0.1:0 --set FPS", "Bad --set: FPS"},
        {"--listen 127.0.0.1:0 --set FPS=", "Bad --set: FPS="},
        {"--help", ""}, // not refused: the help text is printed
    };
    for (const auto& [options, reason] : refused) {
        const auto parsed = vornsim::parseArguments(
            QString::fromLatin1(options).prepend(u"vornsim ").split(u' ', Qt::SkipEmptyParts));
        EXPECT_FALSE(parsed.config) << options;
        EXPECT_EQ(parsed.helpRequested, *reason == '\0') << options;
        EXPECT_TRUE(*reason == '\0' ? parsed.message.contains(QStringLiteral("--split-at"))
                                    : parsed.message == QLatin1String(reason))
            << options << ": " << parsed.message.toStdString();
    }
}

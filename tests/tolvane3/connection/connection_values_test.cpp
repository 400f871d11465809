// The connection's plain rules: addresses, socket errors, the capture configuration, framing.

#include "connection/captureconfig.h"
#include "connection/lineframer.h"
#include "connection/moduleaddress.h"
#include "connection/socketerrors.h"

#include <gtest/gtest.h>

namespace {

std::string parsed(const char* text) {
    const auto address = ParseModuleAddress(QString::fromLatin1(text));
    if (!address) {
        return "invalid";
    }
    return (address->host + QLatin1Char('|') + QString::number(address->port)).toStdString();
}

TEST(ModuleAddress, APortFollowsAColonOrABracketedV6AddressOrIsTheCommandPortElseRefused) {
    EXPECT_EQ(parsed("192.168.1.50"), "192.168.1.50|23");
    EXPECT_EQ(parsed("  10.0.0.1 "), "10.0.0.1|23");
    EXPECT_EQ(parsed("127.0.0.1:2323"), "127.0.0.1|2323");
    EXPECT_EQ(parsed("[::1]:2323"), "::1|2323");
    EXPECT_EQ(parsed("fe80::1"), "fe80::1|23");
    for (const char* text : {"", "   ", ":2323", "host:", "host:0", "host:65536", "host:+23",
                             "host:2x", "[::1", "[::1]2323", "[]:23"}) {
        EXPECT_EQ(parsed(text), "invalid") << text;
    }
}

// The errors met on connecting are checked through the connection window.
TEST(SocketErrors, AnUnknownErrorKeepsTheSystemsDescription) {
    EXPECT_EQ(
        SocketErrorMessage(DescribeSocketError(QAbstractSocket::UnknownSocketError, "Odd failure")),
        QStringLiteral("Odd failure\rError Number 10022"));
}

TEST(CaptureConfig, ThreeLinesAndTheUdpPortOnlyWhenNotTheModulesOwn) {
    EXPECT_EQ(CaptureConfig::Text("10.0.0.7", "1000", "run 1", 23),
              "SET IPADDR 10.0.0.7\r\nSET FPS 1000\r\nSET BFILENAME run 1\r\n");
    // A line break inside a value would start a line of its own: the value ends there.
    EXPECT_EQ(CaptureConfig::Text("127.0.0.1:2323", "", "a\rSET FPS 1\nb", 5000),
              "SET IPADDR 127.0.0.1:2323\r\nSET FPS \r\nSET BFILENAME a\r\nSET UDPPORT 5000\r\n");
}

TEST(CaptureConfig, OnlyNamesTheConsoleReadsBackArePassedOn) {
    const QString longest(238, QLatin1Char('n')); // its line and CR LF fill the console's 254
    const std::pair<QString, bool> cases[] = {
        {"run", true},
        {"C:/data/run 1", true},
        {"", true},
        {longest, true},
        {longest + "n", false},
        {" run", false},
        {"run\t", false},
        {"run\r", false},
        {QString::fromUtf8("r\xC5\x91n"), false},
        {QString::fromLatin1("r\xE9n"), true}, // single-byte
    };
    for (const auto& [name, passed] : cases) {
        EXPECT_EQ(CaptureConfig::ReadsBackExactly(name), passed) << name.toStdString();
    }
}

TEST(CaptureConfig, OnlyAWholeFrameCountOfAtLeastOneIsHandedOver) {
    const std::pair<const char*, bool> cases[] = {
        {"100", true},   {" 1 ", true},  {"2147483647", true}, {"2147483648", false},
        {"", false},     {"0", false},   {"-5", false},        {"+5", false},
        {"12.5", false}, {"1e3", false}, {"10 frames", false},
    };
    for (const auto& [count, handedOver] : cases) {
        EXPECT_EQ(CaptureConfig::IsFrameCount(QLatin1String(count)), handedOver) << count;
    }
}

using Lines = QList<QByteArray>;

Lines feed(LineFramer& framer, const Lines& chunks) {
    for (const QByteArray& chunk : chunks) {
        framer.feed(chunk);
    }
    Lines lines;
    QByteArray line;
    while (framer.takeLine(line)) {
        lines << line;
    }
    return lines;
}

TEST(LineFramer, LinesAreCutAtCrLfWhateverTheChunks) {
    const QByteArray odd("\x00\xff\xe9\x80 x", 6);
    const std::pair<Lines, Lines> cases[] = {
        {{"SET PAGE 1\r\nSTA", "TUS: READY\r\n"}, {"SET PAGE 1", "STATUS: READY"}},
        {{"STATUS: READY\r", "\nSET PAGE 1\r\n"}, {"STATUS: READY", "SET PAGE 1"}},
        {{"FRAME 0 1\r\n0 1.5\r\n\r\n1 2.5\r\n"}, {"FRAME 0 1", "0 1.5", "", "1 2.5"}},
        {{"a\rb\nc\n\r\r\n"}, {"a\rb\nc\n\r"}},
        {{odd + "\r\n"}, {odd}},
    };
    for (const auto& [chunks, lines] : cases) {
        LineFramer framer;
        EXPECT_EQ(feed(framer, chunks), lines) << chunks.front().toStdString();
    }
}

TEST(LineFramer, AnOverlongLineIsDroppedWholeAndMemoryStaysBounded) {
    LineFramer framer;
    const QByteArray longest(LineFramer::MaxLineLength, 'x');
    EXPECT_EQ(feed(framer, {longest + "\r\n"}), Lines{longest});
    EXPECT_EQ(feed(framer, {longest + "y\r\nnext\r\n"}), Lines{"next"});

    // Past the limit the partial text is let go; the rest of that line must not pose as a line.
    const QByteArray piece(40 * 1024, 'x');
    EXPECT_EQ(feed(framer, {piece, piece, piece}), Lines{});
    EXPECT_EQ(feed(framer, {"tail of it\r", "\nSTATUS: READY\r\n"}), Lines{"STATUS: READY"});

    for (int i = 0; i < 1024 * 1024; ++i) {
        framer.feed("z");
    }
    EXPECT_EQ(feed(framer, {"\r\nok\r\n"}), Lines{"ok"});
}

TEST(LineFramer, QueuedLinesComeOutInOrderAndClearForgetsThem) {
    LineFramer framer;
    framer.feed("a\r\nb\r\n");
    QByteArray line;
    ASSERT_TRUE(framer.takeLine(line));
    EXPECT_EQ(line, "a");
    framer.feed("c\r\n"); // as a nested event loop would while "a" is handled
    EXPECT_EQ(feed(framer, {}), (Lines{"b", "c"}));

    framer.feed("old line\r\nhalf of an old ");
    framer.clear();
    EXPECT_EQ(feed(framer, {"new\r\n"}), Lines{"new"});
}

} // namespace

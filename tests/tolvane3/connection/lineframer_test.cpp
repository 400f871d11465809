// The command port's line framing: split lines are rebuilt, lone CR / LF stay inside a line, an
// over-long line is dropped whole and memory stays bounded.

#include "connection/lineframer.h"

#include <gtest/gtest.h>

namespace {

QList<QByteArray> feed(LineFramer& framer, std::initializer_list<QByteArray> chunks) {
    for (const QByteArray& chunk : chunks) {
        framer.feed(chunk);
    }
    QList<QByteArray> lines;
    QByteArray line;
    while (framer.takeLine(line)) {
        lines << line;
    }
    return lines;
}

using Lines = QList<QByteArray>;

TEST(LineFramer, ALineSplitAcrossChunksIsRebuilt) {
    LineFramer framer;
    EXPECT_EQ(feed(framer, {"SET PAGE 1\r\nSTA"}), Lines{"SET PAGE 1"});
    EXPECT_EQ(feed(framer, {"TUS: READY\r\n"}), Lines{"STATUS: READY"});
}

TEST(LineFramer, CrAndLfInDifferentChunksStillEndTheLine) {
    LineFramer framer;
    EXPECT_EQ(feed(framer, {"STATUS: READY\r"}), Lines{});
    EXPECT_EQ(feed(framer, {"\nSET PAGE 1\r\n"}), (Lines{"STATUS: READY", "SET PAGE 1"}));
}

TEST(LineFramer, EveryLineOfAChunkIsHandedOnInOrder) {
    LineFramer framer;
    EXPECT_EQ(feed(framer, {"FRAME 0 1\r\n0 1.5 20.1\r\n\r\n1 2.5 20.2\r\n"}),
              (Lines{"FRAME 0 1", "0 1.5 20.1", "", "1 2.5 20.2"}));
}

TEST(LineFramer, TextWithoutCrLfWaitsForItsEnd) {
    LineFramer framer;
    EXPECT_EQ(feed(framer, {"STAT", "US:", " READY"}), Lines{});
    EXPECT_EQ(feed(framer, {"\r\n"}), Lines{"STATUS: READY"});
}

TEST(LineFramer, LoneCrOrLfStaysInsideTheLine) {
    LineFramer framer;
    EXPECT_EQ(feed(framer, {"a\rb\nc\n\r\r\n"}), Lines{"a\rb\nc\n\r"});
}

TEST(LineFramer, NulAndEightBitBytesPassUnchanged) {
    LineFramer framer;
    const QByteArray line("\x00\xff\xe9\x80 x", 6);
    EXPECT_EQ(feed(framer, {line + "\r\n"}), Lines{line});
}

TEST(LineFramer, ALineOfTheLimitIsKeptOneByteMoreIsDropped) {
    LineFramer framer;
    const QByteArray longest(LineFramer::MaxLineLength, 'x');
    EXPECT_EQ(feed(framer, {longest + "\r\n"}), Lines{longest});
    EXPECT_EQ(feed(framer, {longest + "y\r\nnext\r\n"}), Lines{"next"});
}

TEST(LineFramer, AnOverlongLineIsDroppedWholeWhateverItsChunks) {
    LineFramer framer;
    const QByteArray piece(40 * 1024, 'x');
    // Past the limit the partial text is let go; the rest of that line must not pose as a line.
    EXPECT_EQ(feed(framer, {piece, piece, piece}), Lines{});
    EXPECT_EQ(feed(framer, {"tail of it\r", "\nSTATUS: READY\r\n"}), Lines{"STATUS: READY"});
}

TEST(LineFramer, AMegabyteWithoutCrLfByteByByteEndsCleanly) {
    LineFramer framer;
    for (int i = 0; i < 1024 * 1024; ++i) {
        framer.feed("z");
    }
    EXPECT_EQ(feed(framer, {"\r\nok\r\n"}), Lines{"ok"});
}

TEST(LineFramer, AFloodOfLinesArrivesComplete) {
    LineFramer framer;
    QByteArray flood;
    for (int i = 0; i < 100000; ++i) {
        flood += QByteArray::number(i) + "\r\n";
    }
    const Lines lines = feed(framer, {flood});
    ASSERT_EQ(lines.size(), 100000);
    EXPECT_EQ(lines.front(), "0");
    EXPECT_EQ(lines.back(), "99999");
}

TEST(LineFramer, LinesFedWhileOthersAreTakenQueueBehindThem) {
    LineFramer framer;
    framer.feed("a\r\nb\r\n");
    QByteArray line;
    ASSERT_TRUE(framer.takeLine(line));
    EXPECT_EQ(line, "a");
    framer.feed("c\r\n"); // as a nested event loop would while "a" is handled
    EXPECT_EQ(feed(framer, {}), (Lines{"b", "c"}));
}

TEST(LineFramer, ClearForgetsPartialAndQueuedLines) {
    LineFramer framer;
    framer.feed("old line\r\nhalf of an old ");
    framer.clear();
    EXPECT_EQ(feed(framer, {"new\r\n"}), Lines{"new"});
}

} // namespace

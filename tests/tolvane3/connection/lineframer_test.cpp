// The command port's line framing: split lines are rebuilt, lone CR / LF stay inside a line, an
// over-long line is dropped whole and memory stays bounded.

#include "connection/lineframer.h"

#include <gtest/gtest.h>

namespace {

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

#include "console/key_input.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

using ferrow::endsInsideEscapeSequence;
using ferrow::escapeSequenceLength;

std::span<const unsigned char> bytes(std::string_view text) {
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

TEST(EscapeSequences, ArrowFunctionAndAltKeysAreMeasuredWholeOnceComplete) {
    EXPECT_EQ(escapeSequenceLength(bytes("\x1b[A")), 3u);
    EXPECT_EQ(escapeSequenceLength(bytes("\x1b[15~x")), 5u);
    EXPECT_EQ(escapeSequenceLength(bytes("\x1bOPx")), 3u);
    EXPECT_EQ(escapeSequenceLength(bytes("\x1bx")), 2u);
    // A lone or unfinished sequence waits for more.
    EXPECT_FALSE(escapeSequenceLength(bytes("\x1b")));
    EXPECT_FALSE(escapeSequenceLength(bytes("\x1b[")));
    EXPECT_FALSE(escapeSequenceLength(bytes("\x1b[15")));
    EXPECT_FALSE(escapeSequenceLength(bytes("\x1bO")));

    EXPECT_TRUE(endsInsideEscapeSequence(bytes("abc\x1b")));
    EXPECT_TRUE(endsInsideEscapeSequence(bytes("\x1b[A\x1b[1")));
    EXPECT_FALSE(endsInsideEscapeSequence(bytes("abc\x1b[A")));
    EXPECT_FALSE(endsInsideEscapeSequence(bytes("abc")));
}

TEST(KeysFromAPipe, EveryByteIsAKeyEscIncluded) {
    ferrow::KeyInput keys;
    if (keys.isTerminal()) {
        GTEST_SKIP() << "run from a terminal: keys would come through the terminal path";
    }
    keys.queue(bytes("\x1b[A"));
    EXPECT_EQ(keys.next(), 0x1B);
    EXPECT_EQ(keys.next(), '[');
    EXPECT_EQ(keys.next(), 'A');
    EXPECT_FALSE(keys.next());
}

} // namespace

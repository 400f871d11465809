// Cutting the client's bytes into commands.

#include "vornsim/commandframer.h"
#include "vornsim/simconstants.h"

#include <gtest/gtest.h>

using vornsim::CommandFramer;

TEST(CommandFramer, EndsCommandsAtCrLfOrCrLfWhateverTheChunksAndBoundsAnOverlongOne) {
    CommandFramer framer;
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

#include "console/key_input.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

std::span<const unsigned char> bytes(std::string_view text) {
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

// Arrow, function and Alt keys are measured whole once complete; an unfinished one, even after
// a complete one, is waited for.
TEST(EscapeSequences, AreMeasuredWholeOnceCompleteAndWaitedForWhileUnfinished) {
    const std::pair<std::string_view, std::size_t> cases[] = {
        {"\x1b[A", 3}, {"\x1b[15~x", 5}, {"\x1bOPx", 3}, {"\x1bx", 2},
        {"\x1b", 0},   {"\x1b[", 0},     {"\x1b[15", 0}, {"\x1bO", 0}};
    for (const auto& [keys, length] : cases) {
        EXPECT_EQ(ferrow::escapeSequenceLength(bytes(keys)).value_or(0), length) << keys.substr(1);
        EXPECT_EQ(ferrow::endsInsideEscapeSequence(bytes("\x1b[A" + std::string(keys))),
                  length == 0)
            << keys.substr(1);
    }
    EXPECT_FALSE(ferrow::endsInsideEscapeSequence(bytes("abc")));
}

TEST(KeysFromAPipe, EveryByteIsAKeyEscIncluded) {
    ferrow::KeyInput keys;
    if (keys.isTerminal()) {
        GTEST_SKIP() << "run from a terminal: keys would come through the terminal path";
    }
    keys.queue(bytes("\x1b[A"));
    for (const char key : std::string_view("\x1b[A")) {
        EXPECT_EQ(keys.next(), static_cast<unsigned char>(key));
    }
    EXPECT_FALSE(keys.next());
}

} // namespace

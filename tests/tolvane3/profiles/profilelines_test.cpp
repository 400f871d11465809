// A profile file's line rewritten for another sensor position, and the lines never sent.

#include "profiles/profilelines.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

TEST(ModLine, PutsTheChosenSensorIntoProfileLinesAndSendsNothingElse) {
    const std::tuple<const char*, int, const char*> cases[] = {
        {"SET TEMP 12 25.0", 7, "SET TEMP 7 25.0"},
        {"SET TEMP 3 25.0 1.5", 12, "SET TEMP 12 25.0 1.5"},
        {"SET ABS13 1", 7, "SET ABS7 1"},
        {"SET MIN3 -15.0", 0, "SET MIN0 -15.0"},
        {"SET MAX0 15.0", 15, "SET MAX15 15.0"},
        {"SET NEGPTS3 1", 7, "SET NEGPTS7 1"},
        {"INSERT 5 3 1.0 2.0", 10, "INSERT 5 10 1.0 2.0"},
        {"insert 12 15 1.0", 2, "insert 12 2 1.0"}, // keys in any case; the line keeps its own
        // Not profile lines: the high bank's setting, other commands, blank and comment lines.
        {"SET NEGPTSH 0", 7, ""},
        {"SET PERIOD 500", 7, ""},
        {"", 7, ""},
        {"' sensor 3 of module 12", 7, ""},
        // Cut short: no blank or no values after the number, or no number at all.
        {"SET TEMP 12", 7, ""},
        {"SET TEMP", 7, ""},
        {"SET ABS1", 7, ""},
        {"SET ABS123 1", 7, ""},
        {"INSERT 5 3", 10, ""},
        {"INSERT  3 1.0", 10, ""},
        {"INSERTX 5 3 1.0", 10, ""},
    };
    for (const auto& [line, sensor, sent] : cases) {
        EXPECT_EQ(ModLine(QLatin1String(line), sensor), QLatin1String(sent)) << line;
    }
}

} // namespace

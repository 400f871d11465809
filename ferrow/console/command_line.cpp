#include "command_line.h"

#include "ferrow_app.h"

#include <algorithm>
#include <ostream>

namespace ferrow {

namespace {

constexpr std::string_view usage =
    "Usage: ferrow [--help | --version]\n"
    "Captures one high-speed scan of a Vorn module: reads FERROW.CFG in the current directory\n"
    "and writes <base>.bin, <base>.csv and ERRLOG.TXT there. tolvane3 starts it without\n"
    "arguments; ferrow(1) tells its settings and keys.\n"
    "  --help     show this text and exit\n"
    "  --version  show the version and exit\n";

// A usage error, as the shell's own tools report one.
constexpr int refused = 2;

} // namespace

int runWithArguments(const std::vector<std::string_view>& arguments, std::ostream& out,
                     std::ostream& err) {
    if (arguments.empty()) {
        return runFerrow();
    }
    for (const std::string_view argument : arguments) {
        if (argument != "--help" && argument != "--version") {
            err << "ferrow: unknown argument: " << argument << "\n" << usage;
            return refused;
        }
    }
    if (std::ranges::find(arguments, "--help") != arguments.end()) {
        out << usage;
    } else {
        out << "ferrow " << FERROW_VERSION << "\n";
    }
    return 0;
}

} // namespace ferrow

#pragma once

#include <iosfwd>
#include <string_view>

namespace ferrow {

class ErrorLog;

// Where ferrow's messages go: the console, or ERRLOG.TXT as an ERROR or EVENT record.
struct Outputs {
    std::ostream& console;
    ErrorLog& log;

    // Shown at once: the operator watches a live capture.
    void print(std::string_view text);
};

} // namespace ferrow

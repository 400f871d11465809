#pragma once

#include <iosfwd>
#include <string_view>
#include <vector>

namespace ferrow {

// The program as started with these arguments (the program name not among them): none runs the
// capture, as tolvane3 starts it; --help and --version only print; anything else is refused
// before anything is captured or written. Returns the exit code.
int runWithArguments(const std::vector<std::string_view>& arguments, std::ostream& out,
                     std::ostream& err);

} // namespace ferrow

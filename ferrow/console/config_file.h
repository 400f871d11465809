#pragma once

#include "outputs.h"
#include "settings.h"

#include <filesystem>
#include <istream>

namespace ferrow {

// Reads FERROW.CFG's lines from input: "SET FPS n", "SET IPADDR host[:port]",
// "SET BFILENAME name" (the rest of the line, so names may hold spaces), "SET UDPPORT n".
// Every line is logged as an EVENT; a bad line gives one ERROR and reading goes on.
void readConfig(std::istream& input, Settings& settings, Outputs& out);

// Opens the file; a missing file leaves the defaults in force with one ERROR.
void loadConfigFile(const std::filesystem::path& file, Settings& settings, Outputs& out);

} // namespace ferrow

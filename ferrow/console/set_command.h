#pragma once

#include "outputs.h"
#include "settings.h"

#include <string>
#include <vector>

namespace ferrow {

// The local SET command; words are the typed line's words, "SET" first.
void runSetCommand(const std::vector<std::string>& words, Settings& settings, Outputs& out);

} // namespace ferrow

#pragma once

#include "outputs.h"
#include "settings.h"

#include <optional>
#include <string>
#include <string_view>

namespace ferrow {

// The setters shared by the local SET command and FERROW.CFG. A missing value is passed as
// nothing; each setter reports its own messages and leaves the setting alone on a bad value.

void setFrameCount(const std::optional<std::string>& value, Settings& settings, Outputs& out);
void setProgressInterval(const std::optional<std::string>& value, Settings& settings, Outputs& out);
void setModuleAddress(const std::optional<std::string>& value, Settings& settings, Outputs& out);
void setBinaryBaseName(const std::optional<std::string>& value, Settings& settings, Outputs& out);
void setUdpPort(const std::optional<std::string>& value, Settings& settings, Outputs& out);

// The base name of a capture file: the extension of the final name is cut, directory parts
// (which may hold dots, "C:\old.2\run") are kept.
std::string withoutExtension(std::string_view fileName);

} // namespace ferrow

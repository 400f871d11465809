#include "setters.h"

#include "log/errlog.h"
#include "words.h"

namespace ferrow {

void setFrameCount(const std::optional<std::string>& value, Settings& settings, Outputs& out) {
    if (!value) {
        out.log.error("ERROR: Number of frames value not found\n");
        return;
    }
    const auto frames = leadingInteger(*value);
    if (!frames) {
        out.log.error("ERROR: Number of frames size value not found\n");
    } else if (*frames < 1) {
        out.log.error("ERROR: Number of frames cannot be lower than 1\n");
    } else {
        settings.frameCount = *frames;
    }
}

void setProgressInterval(const std::optional<std::string>& value, Settings& settings,
                         Outputs& out) {
    if (!value) {
        out.print("ERROR: Binary Receiver status update value not found\n");
        return;
    }
    const auto frames = leadingInteger(*value);
    if (!frames) {
        out.print("ERROR: Binary receiver status upadte value not found\n");
        return;
    }
    settings.progressInterval = *frames;
}

void setModuleAddress(const std::optional<std::string>& value, Settings& settings, Outputs& out) {
    if (!value) {
        out.print("ERROR: IP value not found\n");
        return;
    }
    settings.moduleAddress = *value;
}

void setBinaryBaseName(const std::optional<std::string>& value, Settings& settings, Outputs& out) {
    if (!value) {
        out.print("ERROR: BFILE value not found\n");
        return;
    }
    settings.binaryBaseName = withoutExtension(*value);
}

void setUdpPort(const std::optional<std::string>& value, Settings& settings, Outputs& out) {
    const auto port = value ? leadingInteger(*value) : std::nullopt;
    if (!port) {
        out.print("ERROR: UDP PORT value not found\n");
        return;
    }
    settings.udpPort = *port;
}

std::string withoutExtension(std::string_view fileName) {
    const std::size_t lastSeparator = fileName.find_last_of("/\\");
    const std::size_t nameStart = lastSeparator == std::string_view::npos ? 0 : lastSeparator + 1;
    const std::size_t dot = fileName.find_last_of('.');
    if (dot == std::string_view::npos || dot < nameStart) {
        return std::string(fileName);
    }
    return std::string(fileName.substr(0, dot));
}

} // namespace ferrow

#include "set_command.h"

#include "convert/frame_layout.h"
#include "setters.h"
#include "words.h"

#include <optional>

namespace ferrow {

namespace {

// A count is taken only when the converter has a layout for it, so every capture converts; the
// frame type changes even when the count is refused.
void setFrameType(const char* frameType, const std::optional<std::int32_t>& channels,
                  Settings& settings, Outputs& out) {
    settings.frameType = frameType;
    if (!channels) {
        out.print("ERROR: Channel value not found\n");
        return;
    }
    if (const LayoutChoice choice = converterLayout(frameType, *channels); !choice.layout) {
        out.print(choice.refusal);
        return;
    }
    settings.channelCount = *channels;
}

void setEcho(const std::optional<std::int32_t>& echo, Settings& settings, Outputs& out) {
    if (!echo) {
        out.print("ERROR: Echo value not found\n");
        return;
    }
    settings.echo = *echo;
}

void setTextLogName(const std::optional<std::string>& value, Settings& settings, Outputs& out) {
    if (!value) {
        out.print("ERROR: AFILE value not found\n");
        return;
    }
    settings.textLogName = *value;
}

} // namespace

void runSetCommand(const std::vector<std::string>& words, Settings& settings, Outputs& out) {
    if (words.size() < 2) {
        out.print("ERROR: Set argument not found\n");
        return;
    }
    const std::string& key = words[1];
    const std::optional<std::string> value = wordAt(words, 2);
    const std::optional<std::int32_t> number = value ? leadingInteger(*value) : std::nullopt;

    if (matchesKeyword(key, "VORN")) {
        settings.frameType = "VORN";
        settings.channelCount = 16;
    } else if (matchesKeyword(key, "HKQ")) {
        setFrameType("HKQ", number, settings, out);
    } else if (matchesKeyword(key, "PXT")) {
        setFrameType("PXT", number, settings, out);
    } else if (matchesKeyword(key, "WGN")) {
        setFrameType("WGN", number, settings, out);
    } else if (matchesKeyword(key, "NUMFRAMES")) {
        setFrameCount(value, settings, out);
    } else if (matchesKeyword(key, "BRCV")) {
        setProgressInterval(value, settings, out);
    } else if (matchesKeyword(key, "ECHO")) {
        setEcho(number, settings, out);
    } else if (matchesKeyword(key, "IP")) {
        setModuleAddress(value, settings, out);
    } else if (matchesKeyword(key, "BFILE")) {
        setBinaryBaseName(value, settings, out);
    } else if (matchesKeyword(key, "AFILE")) {
        setTextLogName(value, settings, out);
    } else if (matchesKeyword(key, "UDPPORT")) {
        setUdpPort(value, settings, out);
    } else {
        out.print("ERROR: Set argument invalid\n");
    }
}

} // namespace ferrow

#include "capture_sidecar.h"

#include "console/outputs.h"
#include "errlog.h"
#include "message.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>

namespace ferrow {

namespace {

std::tm utcParts(std::time_t seconds) {
    std::tm parts{};
#ifdef _WIN32
    gmtime_s(&parts, &seconds);
#else
    gmtime_r(&seconds, &parts);
#endif
    return parts;
}

// The gaps the conversion found, then the frames that never came after the last one read: with
// the stored frames they account for every frame asked.
std::vector<FrameRange> missingFrames(const FrameNumbers& numbers, std::int32_t framesAsked) {
    std::vector<FrameRange> missing = numbers.skipped;
    const std::uint64_t end =
        std::uint64_t{numbers.first} + static_cast<std::uint64_t>(framesAsked);
    if (numbers.next >= numbers.first && numbers.next < end) {
        missing.push_back({numbers.next, static_cast<std::uint32_t>(end - 1)});
    }
    return missing;
}

std::string rangesText(const std::vector<FrameRange>& ranges) {
    std::string text = "[";
    for (const FrameRange& range : ranges) {
        text += message("%s[%lu, %lu]", text.size() > 1 ? ", " : "",
                        static_cast<unsigned long>(range.first),
                        static_cast<unsigned long>(range.last));
    }
    return text + "]";
}

} // namespace

std::string jsonString(std::string_view latin1) {
    std::string text = "\"";
    for (const char byte : latin1) {
        const auto code = static_cast<unsigned char>(byte);
        if (byte == '"' || byte == '\\') {
            text += '\\';
            text += byte;
        } else if (code < 0x20 || code >= 0x7f) {
            text += message("\\u%04x", static_cast<unsigned>(code));
        } else {
            text += byte;
        }
    }
    return text + "\"";
}

std::string utcTimeText(std::chrono::system_clock::time_point time) {
    const auto sinceEpoch = std::chrono::floor<std::chrono::milliseconds>(time.time_since_epoch());
    const auto seconds = std::chrono::floor<std::chrono::seconds>(sinceEpoch);
    const std::tm parts = utcParts(static_cast<std::time_t>(seconds.count()));
    return message("%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", parts.tm_year + 1900, parts.tm_mon + 1,
                   parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec,
                   static_cast<int>((sinceEpoch - seconds).count()));
}

std::string captureSidecarText(const CaptureFacts& facts, std::string_view program) {
    std::string text =
        "{\n    \"program\": " + jsonString(program) + ",\n    \"start\": \"" +
        utcTimeText(facts.start) + "\",\n    \"end\": \"" + utcTimeText(facts.end) +
        "\",\n    \"capture\": {\n        \"file\": " + jsonString(facts.fileName) +
        ",\n        \"frameType\": " + jsonString(facts.frameType) +
        message(",\n        \"channels\": %d,\n        \"frameSize\": %lld,\n"
                "        \"framesAsked\": %d,\n        \"framesStored\": %lld,\n"
                "        \"udpPort\": %d",
                facts.channelCount, static_cast<long long>(facts.frameSize), facts.framesAsked,
                static_cast<long long>(facts.framesStored), facts.udpPort);
    if (facts.receiveBufferBytes > 0) {
        text += message(",\n        \"receiveBufferBytes\": %lld",
                        static_cast<long long>(facts.receiveBufferBytes));
    }
    text += "\n    }";
    if (facts.frameNumbers) {
        text += ",\n    \"missingFrames\": " +
                rangesText(missingFrames(*facts.frameNumbers, facts.framesAsked));
    }
    return withCrLf(text + "\n}\n");
}

void writeCaptureSidecar(const CaptureFacts& facts, std::string_view program, Outputs& out) {
    const std::string name = facts.fileName + ".json";
    const std::string partial = name + ".partial";
    const std::string text = captureSidecarText(facts, program);
    std::ofstream file(partial, std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    std::error_code renameError;
    if (file) {
        std::filesystem::rename(partial, name, renameError);
    }
    if (!file || renameError) {
        std::remove(partial.c_str());
        const std::string failure = message("ERROR: Could not write to file %s\n", name.c_str());
        out.print(failure);
        out.log.error(failure);
    }
}

} // namespace ferrow

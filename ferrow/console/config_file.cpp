#include "config_file.h"

#include "log/errlog.h"
#include "setters.h"
#include "words.h"

#include <fstream>
#include <optional>

namespace ferrow {

namespace {

// Lines are read in pieces of at most this many bytes: a longer line counts as several lines.
constexpr std::size_t maxChunk = 254;

std::optional<std::string> nextChunk(std::istream& input) {
    std::string chunk;
    char c = 0;
    while (chunk.size() < maxChunk && input.get(c)) {
        chunk += c;
        if (c == '\n') {
            break;
        }
    }
    // A last line without its line end is still handled.
    if (chunk.empty()) {
        return std::nullopt;
    }
    std::erase_if(chunk, [](char k) { return k == '\r' || k == '\n'; });
    return chunk;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The text after the first two words, without its surrounding blanks.
std::optional<std::string> restAfterTwoWords(std::string_view line) {
    std::size_t position = 0;
    for (int word = 0; word < 2; ++word) {
        while (position < line.size() && isBlank(line[position])) {
            ++position;
        }
        while (position < line.size() && !isBlank(line[position])) {
            ++position;
        }
    }
    while (position < line.size() && isBlank(line[position])) {
        ++position;
    }
    std::size_t end = line.size();
    while (end > position && isBlank(line[end - 1])) {
        --end;
    }
    if (end == position) {
        return std::nullopt;
    }
    return std::string(line.substr(position, end - position));
}

void handleLine(const std::string& line, Settings& settings, Outputs& out) {
    out.log.event("Ferrow Init command " + line + "\n");
    const std::vector<std::string> words = splitWords(line);
    if (words.empty() || !matchesKeyword(words[0], "SET")) {
        out.log.error("ERROR: Invalid command in FERROW.CFG\n");
        return;
    }
    if (words.size() < 2) {
        out.log.error("ERROR: Set argument not found\n");
        return;
    }
    const std::string& key = words[1];
    const std::optional<std::string> value = wordAt(words, 2);
    if (matchesKeyword(key, "FPS")) {
        setFrameCount(value, settings, out);
        // Taken from the count held after the attempt, so a refused value keeps the old one.
        settings.progressInterval = settings.frameCount > 10 ? settings.frameCount / 10 : 1;
    } else if (matchesKeyword(key, "IPADDR")) {
        setModuleAddress(value, settings, out);
    } else if (matchesKeyword(key, "BFILENAME")) {
        setBinaryBaseName(restAfterTwoWords(line), settings, out);
    } else if (matchesKeyword(key, "UDPPORT")) {
        setUdpPort(value, settings, out);
    } else {
        out.log.error("ERROR: Set argument invalid\n");
    }
}

} // namespace

void readConfig(std::istream& input, Settings& settings, Outputs& out) {
    while (const auto line = nextChunk(input)) {
        handleLine(*line, settings, out);
    }
}

void loadConfigFile(const std::filesystem::path& file, Settings& settings, Outputs& out) {
    std::ifstream input(file, std::ios::binary);
    if (!input) {
        out.log.error("ERROR: Could not open configuration file FERROW.CFG. Using defaults\n");
        return;
    }
    readConfig(input, settings, out);
}

} // namespace ferrow

#pragma once

#include <cstdint>
#include <string>

namespace ferrow {

// The console settings: one record, set to these defaults before FERROW.CFG is read.
struct Settings {
    std::string frameType = "VORN";
    std::int32_t channelCount = 16;
    std::int32_t frameCount = 100;
    std::int32_t progressInterval = 1000;
    std::int32_t echo = 1;
    std::string moduleAddress = "0";
    std::string binaryBaseName = "Data.bin";
    std::string textLogName = "Data.log";
    std::int32_t udpPort = 23;
};

// The eight "SET ..." lines that LIST prints and SAVE writes, each ended by "\n".
std::string settingsBlock(const Settings& settings);

} // namespace ferrow

#include "settings.h"

#include "log/message.h"

namespace ferrow {

std::string settingsBlock(const Settings& settings) {
    return message("SET %s %d\n", settings.frameType.c_str(), settings.channelCount) +
           message("SET NUMFRAMES %d\n", settings.frameCount) +
           message("SET BRCV %d\n", settings.progressInterval) +
           message("SET ECHO %d\n", settings.echo) +
           message("SET IP %s\n", settings.moduleAddress.c_str()) +
           message("SET BFILE %s\n", settings.binaryBaseName.c_str()) +
           message("SET AFILE %s\n", settings.textLogName.c_str()) +
           message("SET UDPPORT %d\n", settings.udpPort);
}

} // namespace ferrow
